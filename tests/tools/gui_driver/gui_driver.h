// Drives the windows of another process through window messages, as a user would: find windows,
// read and set control texts, pick list items, click buttons, read and answer message boxes.
//
// What the platform allows, as found under Wine 8 (and how the driver copes):
// - WM_GETTEXT, WM_SETTEXT, CB_GETLBTEXT cross processes; CBEM_GETITEMW does not (its structure
//   points into the caller's memory): the items of a ComboBoxEx are read only in its own process.
// - A message box is a "#32770" dialog, its text the static with id 0xFFFF, its icon a static of
//   style SS_ICON whose STM_GETICON handle belongs to the other process: Wine refuses GetIconInfo on
//   it (error 1402) and system icon handles differ per process, so the icon kind is recognised from
//   the screen. A box with no icon keeps the static but without a handle.
// - PrintWindow leaves another process's window black: screenshots are copied from the screen, so
//   the window must not be covered.
// - A message box ends with any command id posted to it: AnswerMessageBox only presses buttons the
//   box really shows.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::gui {

using namespace std::chrono_literals;

// Polls condition every few milliseconds until it holds (true) or timeout passes (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// Top-level windows of process pid (0: any) whose class and title match (nullptr: anything), the
// hidden IME helper windows left out; the first one; the first visible one, waited for.
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className = nullptr, const wchar_t* title = nullptr);
HWND FindTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title);
HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title,
                      std::chrono::milliseconds timeout = 10s);

HWND Control(HWND parent, int id); // searched in all descendants
std::wstring ClassName(HWND hwnd);
std::wstring Text(HWND hwnd); // WM_GETTEXT
bool IsVisible(HWND hwnd);    // the WS_VISIBLE style of the control itself
bool IsEnabled(HWND hwnd);
RECT WindowRect(HWND hwnd); // screen coordinates
// What a user can reach: the control and its top-level window are enabled and it is shown.
bool IsUsable(HWND control);

// Sets the text of an edit or an editable combo box and notifies the parent once, as typing would.
// False, and nothing sent, where a user could not type or the text was refused.
bool SetText(HWND control, const std::wstring& text);

// Combo boxes, plain or ComboBoxEx (whose item texts are read in its own process only). ComboSelect selects as a user
// would (the parent gets CBN_SELCHANGE); false, and nothing sent, for an unusable box or a bad index.
int ComboCount(HWND combo);
std::wstring ComboItemText(HWND combo, int index);
std::vector<std::wstring> ComboItems(HWND combo);
int ComboSelected(HWND combo); // -1: none
bool ComboSelect(HWND combo, int index);

// Posts a click, so a modal box its handler shows does not block; false, and nothing sent, when a
// user could not click it.
bool Click(HWND button);
void Close(HWND hwnd); // WM_CLOSE, as the close box, without waiting

enum class MessageIcon { None, Stop, Exclamation, Information, Question, Unknown };
const wchar_t* IconName(MessageIcon icon);
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption, text;
    std::vector<int> buttonIds; // IDOK, IDCANCEL, ... of the shown buttons, in order
    MessageIcon icon = MessageIcon::None;
};
// The message box of process pid shown now; or waited for.
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 10s);
// Presses the button with that id; false when the box shows no such button.
bool AnswerMessageBox(HWND box, int buttonId);

// Saves what the screen shows of one window (frame included) as a 32-bit BMP file.
bool SaveWindowBitmap(HWND hwnd, const std::wstring& bmpPath);

} // namespace velmora::gui
