// Where the main window opens, and what is stored about it when it closes ("frmMain.Left" and
// "frmMain.Top"). The Windows half of window_position.h: monitors, number format and the DPI.
#pragma once
#include <windows.h>

namespace velmora {
class Settings;
class NotSavedList;
} // namespace velmora

namespace velmora::app {

// The top-left corner for a main window of that size: the stored one when it reads back and keeps
// the window reachable, else centred on the primary screen's work area.
POINT StoredPlace(const Settings* settings, SIZE size, UINT windowDpi);
// Stores where the window is now (where it will be restored to, when it is minimised); a value that
// could not be written goes to notSaved.
void StorePlace(HWND hwnd, const Settings& settings, NotSavedList& notSaved);

} // namespace velmora::app
