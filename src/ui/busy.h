// The one way a window of the program waits for slow work (the update check's fetch) or for
// another program (the client coming up) without freezing. While it waits the window takes no
// input; everything else keeps working: it repaints, answers other programs, and the program's
// other windows (the wait window with its Cancel button, an error report) take input as usual.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <span>

namespace velmora::ui {

using Clock = std::chrono::steady_clock;

// While a BusyScope lives, its window is disabled and shows the wait cursor, keys and clicks meant
// for it are dropped (nothing typed or clicked meanwhile acts once it takes input again; a second
// click on Start would start the client twice), and a close asked for meanwhile is done once the
// scope ends (the frame asks CloseDeferred). window may be null: a start from the command line has
// no window to hold, and its scope only serves the other windows.
class BusyScope {
public:
    explicit BusyScope(HWND window);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    static constexpr int kTimedOut = -1, kStopped = -2;
    // Serves this thread's messages until one of handles is signalled (its index), until passes
    // (kTimedOut) or stop, asked after every message, holds (kStopped).
    int Wait(std::span<const HANDLE> handles, Clock::time_point until,
             const std::function<bool()>& stop = {});

    // Called by the frame for a close of window: true (and the close noted) while window is busy.
    static bool CloseDeferred(HWND window);

private:
    void Pump();
    bool IsOurs(HWND hwnd) const;

    HWND window_;
    bool outermost_ = false; // no other scope holds the window: a close waits for this one
    bool disabled_ = false;  // this scope disabled the window and enables it again
    bool closeRequested_ = false;
    bool quit_ = false; // a WM_QUIT came: it is posted again for the caller's loop
    int quitCode_ = 0;
};

// Runs work on a new thread and waits up to limit for it in a BusyScope of window. True when work
// ended in time; otherwise work goes on alone and must own, or share, everything it touches. A
// work that throws ends as if it had returned.
bool RunBusy(HWND window, std::function<void()> work, std::chrono::milliseconds limit);

} // namespace velmora::ui
