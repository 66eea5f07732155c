// The small caption-less window that says the client is starting, with a Cancel button (Esc) for
// the wait of direct login. One at a time; it is created when shown and destroyed when closed.
#pragma once
#include <windows.h>

namespace velmora::app {

// Shows it, not modal, owned by owner (none for a start from the command line) and centred over
// it. It takes the focus only where the user is in the program already (or, without an owner,
// where the system lets this process have it), so that Esc reaches its Cancel button.
void ShowWaitWindow(HWND owner);
void CloseWaitWindow();
// Whether its Cancel button (or Esc) was pressed since it was shown.
bool WaitWindowCancelled();

} // namespace velmora::app
