// The small caption-less window that says the client is starting. One at a time; it is created
// when shown and destroyed when closed.
#pragma once
#include <windows.h>

namespace velmora::app {

// Shows it, not modal, owned by owner and centred over it, and paints it at once (the start
// that follows blocks the message loop).
void ShowWaitWindow(HWND owner);
void CloseWaitWindow();

} // namespace velmora::app
