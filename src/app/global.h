// Start-up and shutdown of the program.
#pragma once
#include "app/command_line.h"

namespace velmora {
class NotSavedList;
}

namespace velmora::app {

// Builds the shared objects and does what the command line asks: without arguments it refuses to
// run without the client and otherwise shows the main window; with them it starts the client
// without a window, or shows the usage or what is wrong with the line. The process's exit code so
// far. Errors are passed on: the caller shows them in a plain message and ends the process.
int Main(const command_line::Parsed& commandLine);
// Called by the main window as it closes: closes every window, saves the settings and releases
// the shared objects. What could not be saved, the window's own values in notSaved included, is
// raised as one error for the user.
void Dispose(NotSavedList& notSaved);
// Main with the process's command line (GetCommandLineW's text), then the message loop while a
// window of the program is open; the process's exit code.
int Run(std::wstring_view commandLine);

} // namespace velmora::app
