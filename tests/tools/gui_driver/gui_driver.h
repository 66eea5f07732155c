// Drives the windows of another process through window messages, as a user would: find windows,
// read and set control texts, pick list items, click buttons, read and answer message boxes.
#pragma once
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace velmora::gui {

using namespace std::chrono_literals;

// Visible or hidden top-level windows of process pid (0: any process) whose class and title match
// (nullptr matches anything). The hidden "Default IME"-style helper windows are skipped.
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className = nullptr, const wchar_t* title = nullptr);
HWND FindTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title);
// Waits until such a window exists and is visible; nullptr after timeout.
HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title,
                      std::chrono::milliseconds timeout = 10s);

// A control of a window (searched in all descendants) by its control id.
HWND Control(HWND parent, int id);
std::wstring ClassName(HWND hwnd);
std::wstring Text(HWND hwnd);   // WM_GETTEXT; for a drop-down ComboBoxEx the selected item's text
bool IsVisible(HWND hwnd);      // the WS_VISIBLE style of the control itself
bool IsEnabled(HWND hwnd);
RECT WindowRect(HWND hwnd);     // screen coordinates

// Sets the text of an edit or an editable combo box and notifies the parent as typing would
// (EN_CHANGE / CBN_EDITCHANGE).
void SetText(HWND control, const std::wstring& text);

// Combo boxes (plain or ComboBoxEx): item count, item texts, the selected index (-1: none), and
// selecting an item as a user would (the parent receives CBN_SELCHANGE, for ComboBoxEx through its
// inner combo box).
int ComboCount(HWND combo);
std::wstring ComboItemText(HWND combo, int index);
std::vector<std::wstring> ComboItems(HWND combo);
int ComboSelected(HWND combo);
void ComboSelect(HWND combo, int index);

bool IsChecked(HWND button);
// Clicks a button without waiting for its handler to finish (the handler may show a modal box).
void Click(HWND button);
// Closes a window as its close box would (WM_CLOSE), without waiting.
void Close(HWND hwnd);

enum class MessageIcon { None, Stop, Exclamation, Information, Question, Unknown };
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;   // button captions in order, e.g. {L"OK"}
    MessageIcon icon = MessageIcon::None;
};
// Waits for a message box (dialog class #32770 with a message text) of process pid.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 10s);
// Presses the button with that id (IDOK, IDYES, IDNO, ...).
void AnswerMessageBox(HWND box, int buttonId);

// The window that currently has the focus on the desktop (foreground window).
HWND Foreground();

// Saves a screenshot of one window (client and frame) as a PNG-less 24-bit BMP file.
bool SaveWindowBitmap(HWND hwnd, const std::wstring& bmpPath);

} // namespace velmora::gui
