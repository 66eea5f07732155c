// Start-up and shutdown of the program.
#pragma once

namespace velmora {
class NotSavedList;
}

namespace velmora::app {

// Builds the shared objects, refuses to run without the client, otherwise shows the main window.
// Errors are passed on: the caller shows them in a plain message and ends the process.
void Main();
// Called by the main window as it closes: closes every window, saves the settings and releases
// the shared objects. What could not be saved, the window's own values in notSaved included, is
// raised as one error for the user.
void Dispose(NotSavedList& notSaved);
// Main, then the message loop; the process's exit code.
int Run();

} // namespace velmora::app
