// The information window (program, version, maker, website, support address, donation, thanks)
// and the window that thanks the translator of the Hebrew language file.
#pragma once
#include <windows.h>

#include <string>

namespace velmora::info {

inline constexpr wchar_t kInfoWindowClass[] = L"VelmoraInfo";
inline constexpr wchar_t kThanksWindowClass[] = L"VelmoraThanks";

enum InfoWindowId : int {
    IDC_INFO_LOGO = 1401,
    IDC_INFO_TITLE,
    IDC_INFO_VERSION,
    IDC_INFO_COPYRIGHT,
    IDC_INFO_WEBSITE,
    IDC_INFO_EMAIL,
    IDC_INFO_FLOWER,
    IDC_INFO_DONATE,
    IDC_INFO_THANKS,
    IDC_THANKS_TEXT,
    IDC_THANKS_FLOWER,
    // The OK buttons of both windows are IDOK.
};

// Shows the information window modally, owned by owner.
void ShowInfo(HWND owner);
// Shows the thanks window modally over parent, with caption as its caption.
void ShowThanks(const std::wstring& caption, HWND parent);

} // namespace velmora::info
