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

// Waits until process pid (handle: process) has such a window and has finished its start-up
// input processing, or until deadline, or until the process ends; nullptr unless the window came.
// Polls at a short interval while this thread's windows keep being painted.
HWND WaitForProcessWindow(HANDLE process, DWORD pid, Clock::time_point deadline);

// Waits until the time point, or until the process ends; true when it still runs afterwards.
// This thread's windows keep being painted meanwhile; no other message is handled.
bool PauseWhileRunning(HANDLE process, Clock::time_point until);

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
