// The start button's work: check the typed number, hand the chosen user, status and message to
// the launcher while the wait window shows, and close the program afterwards when so set.
#pragma once

namespace velmora::app {

class MainWindow;

// The click on the start button (also Enter in the main window).
void cbtnStart_Click(MainWindow& window);

} // namespace velmora::app
