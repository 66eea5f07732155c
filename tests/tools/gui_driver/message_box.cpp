// Message boxes of another process: find them, read them, answer them.
#include "gui_driver.h"

#include <thread>

namespace velmora::gui {

MessageIcon RecognizeIcon(HWND iconStatic, HICON shown); // screen.cpp

namespace {

constexpr int kTextId = 0xFFFF;

bool IsCommandId(int id) {
    return id >= IDOK && id <= IDCONTINUE;
}

// A message box is a dialog holding only statics and buttons, its text in the static 0xFFFF and its
// buttons the standard command ids; a dialog of the program's own has controls of its own ids.
std::optional<MessageBoxInfo> Read(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    bool hasText = false;
    bool onlyBoxControls = true;
    HWND iconStatic = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring cls = ClassName(child);
        int id = GetDlgCtrlID(child) & 0xFFFF;
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                iconStatic = child;
            else if (id == kTextId) {
                hasText = true;
                info.text = Text(child);
            }
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsCommandId(id)) {
            if (IsWindowVisible(child)) {
                info.buttons.push_back(Text(child));
                info.buttonIds.push_back(id);
            }
        } else {
            onlyBoxControls = false;
        }
    }
    if (!hasText || !onlyBoxControls)
        return std::nullopt;
    wchar_t caption[512] = L"";
    GetWindowTextW(box, caption, 512);
    info.caption = caption;
    if (iconStatic) {
        DWORD_PTR shown = 0;
        SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown);
        info.icon = shown ? RecognizeIcon(iconStatic, reinterpret_cast<HICON>(shown)) : MessageIcon::None;
    }
    return info;
}

} // namespace

const wchar_t* IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return L"none";
    case MessageIcon::Stop:
        return L"stop";
    case MessageIcon::Exclamation:
        return L"exclamation";
    case MessageIcon::Information:
        return L"information";
    case MessageIcon::Question:
        return L"question";
    case MessageIcon::Unknown:
        break;
    }
    return L"unknown";
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
    for (HWND hwnd : TopWindows(pid, L"#32770"))
        if (IsWindowVisible(hwnd))
            if (auto info = Read(hwnd))
                return info;
    return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto info = FindMessageBox(pid))
            return info;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

bool AnswerMessageBox(HWND box, int buttonId) {
    HWND button = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetDlgCtrlID(child) & 0xFFFF) == buttonId && ClassName(child) == L"Button")
            button = child;
    if (!IsUsable(button))
        return false;
    // What the button itself sends when pressed. BM_CLICK is avoided here: Windows may drop it when
    // the box is not the active window.
    return PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

} // namespace velmora::gui
