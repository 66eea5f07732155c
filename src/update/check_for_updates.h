// The update button's dialogue with the user: asks whether the computer is online, checks the
// maker's version file, and offers a newer version's download. A check that cannot find out says
// so and why; it never claims the program is up to date then.
#pragma once
#include <windows.h>

namespace velmora::update {

// Runs the whole dialogue with owner (the main window) as the owner of every message and the window
// that waits, disabled, during the fetch. Errors other than a failed check pass on to the caller.
void CheckForUpdates(HWND owner);

} // namespace velmora::update
