// Drives the windows of another process through window messages, as a user would: find windows,
// read and set control texts, pick list items, click buttons, read and answer message boxes.
//
// What the platform allows, as found under Wine 8 (and how the driver copes):
// - WM_GETTEXT, WM_SETTEXT, CB_GETLBTEXT are carried across processes; CBEM_GETITEMW is not (its
//   structure points into the caller's memory): the items of a ComboBoxEx are not read (the tests
//   that made the windows in their own process read them).
// - A message box is a "#32770" dialog; its text is the static with id 0xFFFF; its icon is a static
//   of style SS_ICON (id 0x14 on Windows, 0x440 under Wine) whose STM_GETICON handle belongs to the
//   other process: Wine refuses GetIconInfo on it (error 1402) and system icon handles differ per
//   process. The icon kind is therefore recognised from the screen: the static's pixels are compared
//   with the system icons drawn here. A box with no icon keeps the static but without a handle.
// - PrintWindow returns TRUE on another process's window but leaves the bitmap black; screenshots
//   are copied from the screen, so the window must not be covered.
// - A message box ends with any command id posted to it, even one it has no button for:
//   AnswerMessageBox only presses buttons the box really shows.
#pragma once
#include <windows.h>

#include "pixels.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::gui {

using namespace std::chrono_literals;

// Polls condition every few milliseconds until it holds (true) or timeout passes (false).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

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
std::wstring Text(HWND hwnd); // WM_GETTEXT
bool IsVisible(HWND hwnd);    // the WS_VISIBLE style of the control itself
bool IsEnabled(HWND hwnd);
RECT WindowRect(HWND hwnd); // screen coordinates

// What a user can reach: the control and its top-level window are enabled and it is shown.
bool IsUsable(HWND control);

// Sets the text of an edit or an editable combo box and notifies the parent as typing would
// (EN_CHANGE / CBN_EDITCHANGE, once). False, and nothing sent, when a user could not type there
// (disabled, hidden, read-only, drop-down list) or the text was refused.
bool SetText(HWND control, const std::wstring& text);

// Combo boxes (plain or ComboBoxEx): item count, item texts (not of a ComboBoxEx), the selected index (-1:
// none), and selecting an item as a user would (the parent receives CBN_SELCHANGE, for ComboBoxEx through its
// inner combo box). ComboSelect is false, and nothing sent, for an unusable box or a bad index.
int ComboCount(HWND combo);
std::wstring ComboItemText(HWND combo, int index);
std::vector<std::wstring> ComboItems(HWND combo);
int ComboSelected(HWND combo);
bool ComboSelect(HWND combo, int index);

// Clicks a button without waiting for its handler to finish (the handler may show a modal box).
// False, and nothing sent, when a user could not click it (see IsUsable).
bool Click(HWND button);
// Closes a window as its close box would (WM_CLOSE), without waiting.
void Close(HWND hwnd);

enum class MessageIcon { None, Stop, Exclamation, Information, Question, Unknown };
const wchar_t* IconName(MessageIcon icon);
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons; // button captions in order, e.g. {L"OK"}
    std::vector<int> buttonIds;        // their command ids (IDOK, IDCANCEL, ...), same order
    MessageIcon icon = MessageIcon::None;
};
// The message box of process pid that is shown now, if any (no waiting).
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
// Waits for a message box (dialog class #32770 with a message text) of process pid.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 10s);
// Presses the button with that id (IDOK, IDYES, IDNO, ...); false when the box shows no such button.
bool AnswerMessageBox(HWND box, int buttonId);

// What the screen shows in that rectangle (screen coordinates).
Pixels CaptureScreen(const RECT& area);
// Saves a screenshot of one window (client and frame) as a PNG-less 24-bit BMP file.
bool SaveWindowBitmap(HWND hwnd, const std::wstring& bmpPath);

} // namespace velmora::gui
