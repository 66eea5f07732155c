// Finding the window of a program this process started, and pressing Enter in it without
// touching the focus of anything else on the desktop.
#pragma once
#include <windows.h>

#include <chrono>

namespace velmora::platform {

using Clock = std::chrono::steady_clock;

// The first top-level window of process pid, in Z order, that is visible (minimized counts) and
// not an input-method helper; nullptr when there is none.
HWND FindProcessWindow(DWORD pid);

// Whether the process has gone idle for input once since it started: it has then handled the
// messages that created its first windows.
bool HasGoneIdle(HANDLE process);

// Whether the process has ended.
bool HasEnded(HANDLE process);

// How an Enter press was handed to a window.
enum class EnterDelivery {
    None,          // nothing was sent: no window, or the post failed
    DefaultButton, // the press of its default push button, as the dialog manager turns an Enter into
    KeyMessages,   // an Enter key press and release posted to its focused control
};

// Presses Enter once in window (a top-level window of another process) without activating it:
// see the definition for why this way.
EnterDelivery PressEnter(HWND window);

} // namespace velmora::platform
