// The one road from a user's choice to the running client: the window's Start button takes it, and
// so does every other way of asking for a start. The checks, the writes, the start and the wait of
// direct login are the same whoever asks.
#pragma once
#include "client/starter.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::app {

class MainWindow;

// A start as the user asked for it.
struct StartChoice {
    std::wstring user;                   // as typed: dashes and blanks are allowed
    std::optional<int32_t> status;       // none chosen: the user is asked to choose one
    std::optional<std::wstring> message; // nothing: the stored message of the status stays as it is
    bool direct = false;                 // press Enter in the client's login window
};

// Checks the choice (a number, an ICQ number, a status: a refusal is told in a message owned by
// owner and nothing is written), then starts the client through starter while the wait window shows
// and owner (may be null) takes no input, and tells the user when direct login could not log in.
// A failure is raised to the caller's trap. True when the client was started.
bool StartClient(HWND owner, Starter& starter, const StartChoice& choice);

// The click on the start button (also Enter in the main window).
void cbtnStart_Click(MainWindow& window);

} // namespace velmora::app
