#include "platform/process_window.h"

#include <algorithm>
#include <string>

namespace velmora::platform {
namespace {

// Compares without allocating: the enumeration callbacks that ask must not fail.
bool ClassIs(HWND hwnd, const wchar_t* className) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return _wcsicmp(name, className) == 0;
}

// Every GUI thread owns hidden input-method windows; some systems show the IME ones.
bool IsImeHelper(HWND hwnd) {
    return ClassIs(hwnd, L"IME") || ClassIs(hwnd, L"MSCTFIME UI");
}

struct Search {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) noexcept {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd) || IsImeHelper(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

bool PostCommand(HWND dialog, int id, HWND control) {
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control)) !=
           0;
}

struct DefaultButtonSearch {
    HWND found = nullptr;
};

BOOL CALLBACK MatchDefaultButton(HWND hwnd, LPARAM param) noexcept {
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (ClassIs(hwnd, L"Button") && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && IsWindowVisible(hwnd) &&
        IsWindowEnabled(hwnd)) {
        reinterpret_cast<DefaultButtonSearch*>(param)->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// What the dialog manager does with Enter when the focus is in dialog: ask for the default
// button and send its command; without one, IDOK. A disabled default button swallows Enter.
EnterDelivery PressDialogDefault(HWND dialog) {
    DWORD_PTR defId = 0;
    if (SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 1000, &defId) &&
        HIWORD(defId) == DC_HASDEFID) {
        HWND button = GetDlgItem(dialog, LOWORD(defId));
        if (button && !IsWindowEnabled(button))
            return EnterDelivery::None;
        return PostCommand(dialog, LOWORD(defId), button) ? EnterDelivery::DefaultButton
                                                          : EnterDelivery::None;
    }
    return PostCommand(dialog, IDOK, GetDlgItem(dialog, IDOK)) ? EnterDelivery::DefaultButton
                                                               : EnterDelivery::None;
}

} // namespace

HWND FindProcessWindow(DWORD pid) {
    Search search{pid};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasGoneIdle(HANDLE process) {
    return WaitForInputIdle(process, 0) != WAIT_TIMEOUT;
}

bool HasEnded(HANDLE process) {
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

// An Enter press is delivered as the message it turns into, posted to the client's own window:
//  - In a dialog, Windows never hands Enter to the dialog's code as a key: the dialog manager
//    (IsDialogMessage) turns it into WM_COMMAND with the default push button's id and BN_CLICKED
//    (the "Dialog Box Keyboard Interface" of the Windows documentation). Posting that command is
//    the same press, and it works whatever window has the focus, with the client minimized and
//    in the background.
//  - A plain window with a default push button child gets that button's BN_CLICKED the same way.
//  - Otherwise the key press and release are posted to the control that has the focus inside
//    the client's thread (GetGUIThreadInfo), where a typed Enter would have gone; the client's
//    own TranslateMessage makes the WM_CHAR, so the character comes exactly once.
// Not used, on purpose: SendInput/keybd_event type into whatever window has the focus, which is
// another program whenever the user or Windows moved the focus; SetForegroundWindow is refused to
// background processes by the foreground lock (Wine allows it, Windows need not); SetFocus does
// not work across threads; BM_CLICK simulates a mouse click that takes the focus and the mouse
// capture and is documented to fail when the dialog is not active.
EnterDelivery PressEnter(HWND window) {
    if (!window || !IsWindow(window))
        return EnterDelivery::None;
    if (ClassIs(window, L"#32770"))
        return PressDialogDefault(window);

    DefaultButtonSearch buttons;
    EnumChildWindows(window, MatchDefaultButton, reinterpret_cast<LPARAM>(&buttons));
    if (buttons.found)
        return PostCommand(GetParent(buttons.found), GetDlgCtrlID(buttons.found), buttons.found)
                   ? EnterDelivery::DefaultButton
                   : EnterDelivery::None;

    HWND target = window;
    GUITHREADINFO info{sizeof(info)};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == window || IsChild(window, info.hwndFocus)))
        target = info.hwndFocus;
    UINT scan = MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
    if (!PostMessageW(target, WM_KEYDOWN, VK_RETURN, down))
        return EnterDelivery::None;
    PostMessageW(target, WM_KEYUP, VK_RETURN, up);
    return EnterDelivery::KeyMessages;
}

} // namespace velmora::platform
