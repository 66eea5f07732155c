// Lets a window wait for slow work without freezing: the work runs on a thread of its own while
// the window takes no input, shows the wait cursor and keeps painting.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>

namespace velmora::platform {

// Runs work on a new thread and waits up to `limit` for it, handling the thread's messages
// meanwhile. Keyboard and mouse input for the window and its controls is dropped, so nothing typed
// or clicked while it waited acts once it takes input again; a WM_CLOSE posted to it meanwhile is
// posted again afterwards (the window must not go away under its caller). True when work ended in
// time; otherwise work goes on alone and must own, or share, everything it touches.
// A work that throws ends as if it had returned.
bool RunBusy(HWND window, std::function<void()> work, std::chrono::milliseconds limit);

} // namespace velmora::platform
