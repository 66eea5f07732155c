// The error report window: one instance for the whole program, showing the report of the last
// error with the client's build line, text the user can select and copy, and the support
// address as a link that starts a mail with the report.
#pragma once
#include "build_settings.h"

#include <windows.h>
#include <string>

namespace velmora::err {

inline constexpr wchar_t kErrorWindowClass[] = L"VelmoraShowError";

// Control ids of the window.
enum ErrorWindowId : int {
    IDC_ERR_TEXT = 101,    // txtError
    IDC_ERR_MESSAGE = 102, // lblError
    IDC_ERR_ADDRESS = 103, // lblAddress
};

// Where the window takes the client's build id from (start-up installs it; without one the line
// stays empty). It must not throw.
using BuildIdSource = std::wstring (*)();
void SetBuildIdSource(BuildIdSource source);

// Shows report + CR LF + "ICQ Lite Build: " + the client's build id. Loads the window when it is
// not loaded, shows it when it is hidden (modally when another window of the program is modal,
// returning only after it was closed), replaces the text when it is already open, and brings it
// to the front. Never fails: every step that cannot be done is skipped.
void ErrorReport(const std::wstring& report);

// The loaded window, or nullptr.
HWND ErrorWindow();

// The URL a click on the address opens.
std::wstring SupportMailto(const std::wstring& reportText);

} // namespace velmora::err
