// Window classes and control ids of the main window and the wait window; the end-to-end tests
// find the controls through them.
#pragma once

namespace velmora::app {

inline constexpr wchar_t kMainWindowClass[] = L"VelmoraMain";
inline constexpr wchar_t kMainWindowTitle[] = L"Velmora";
inline constexpr wchar_t kWaitWindowClass[] = L"VelmoraWait";

enum MainWindowId : int {
    IDC_FRA_START_USER = 1000,
    IDC_LBL_USER = 1001,
    IDC_COMB_USER = 1002,
    IDC_LBL_STATUS = 1003,
    IDC_IMGCOMB_STATUS = 1004,
    IDC_LBL_STATUS_TEXT = 1005,
    IDC_TXT_STATUS_TEXT = 1006,
    IDC_LBL_NOTIFY = 1007,
    IDC_CBTN_START = 1008,
    IDC_CBTN_SETTINGS = 1009,
    IDC_CBTN_NEW_VERSION = 1010,
    IDC_CBTN_INFO = 1011,
    IDC_IMG_LOGO = 1012,
    IDM_CREATE_SHORTCUT = 1020, // in the start button's menu
};

enum WaitWindowId : int {
    IDC_WAIT_PICTURE = 1101,
    IDC_WAIT_TEXT = 1102, // lblText
    IDC_WAIT_CANCEL = 2,  // IDCANCEL: Esc presses it
};

} // namespace velmora::app
