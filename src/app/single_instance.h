// One Velmora per user session: a second start brings the first one's window to the front and
// ends, instead of opening a second window exactly on top of the first.
#pragma once
#include <windows.h>

namespace velmora::app {

// Posted by a second start to the main window of the first: show yourself.
inline constexpr UINT kActivateMessage = WM_APP + 2;

// True when Velmora already runs in this session; its window has then been asked to come to the
// front, and this process should end.
bool HandOverToRunningInstance();

} // namespace velmora::app
