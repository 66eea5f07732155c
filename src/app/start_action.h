// The one road from a user's choice to the running client. The window's Start button takes it, and
// so does the command line (a shortcut, a jump-list task): the checks, the writes, the start and the
// wait of direct login are the same whoever asks.
#pragma once
#include "app/command_line.h"
#include "client/starter.h"

#include <windows.h>

namespace velmora::app {

class MainWindow;

// Whether the choice can be started, in the order a start checks it: a number, an ICQ number, a
// status, and Invisible again for a user who was invisible last. A refusal is told in a message
// owned by owner. The shortcut of a choice makes the same checks.
bool CheckChoice(HWND owner, const command_line::StartRequest& choice);

// Checks the choice, then that the client is installed, and starts it through starter while the
// wait window shows and owner (may be null) takes no input; with direct the Enter of the login
// window is pressed, and the user is told when it could not be. A started choice goes to the top of
// the recent choices and the taskbar's jump list. A failure is raised to the caller's trap. True
// when the client was started.
bool StartClient(HWND owner, Starter& starter, const command_line::StartRequest& choice, bool direct);

// The click on the start button (also Enter in the main window).
void cbtnStart_Click(MainWindow& window);

// A start the command line asks for, with no window of the program: the user's last status when
// none is given, the setting when neither /direct nor /manual is. The process's exit code: 0 when
// the client was started, 1 when the start was refused or failed, 2 for a message its status has
// no place for.
int StartFromCommandLine(command_line::StartRequest request);

} // namespace velmora::app
