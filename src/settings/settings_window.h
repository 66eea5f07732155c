// The settings window: how the client logs in, closing after the start, starting with Windows,
// the language, several client instances and the extra statuses. OK applies, Cancel changes nothing.
#pragma once
#include <windows.h>

namespace velmora {

class Settings;
class Language;

inline constexpr wchar_t kSettingsWindowClass[] = L"VelmoraSettings";
// Where Windows finds the programs to start with the user's session.
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L"Velmora";

enum SettingsWindowId : int {
    IDC_FRA_GENERAL = 1301,
    IDC_LBL_LANGUAGE,
    IDC_COMB_LANGUAGE,
    IDC_OPT_MANUEL,
    IDC_OPT_AUTO,
    IDC_CHB_CLOSE,
    IDC_CHB_AUTOSTART,
    IDC_FRA_ADVANCED,
    IDC_CHB_MULTISTART,
    IDC_CHB_EXTRASTATUS,
    // cmdOk and cmdCancel are IDOK and IDCANCEL.
};

// Shows the window modally, owned by owner (whose controls OK translates into the new language).
// True when OK applied the choices.
bool ShowSettings(HWND owner, Settings& settings, Language& language);

} // namespace velmora
