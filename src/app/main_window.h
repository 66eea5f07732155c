// The program's main window ("Velmora"): the user list, the status list with its message, the
// start button and the buttons to the other windows.
#pragma once
#include <windows.h>

namespace velmora::app {

class MainWindow {
public:
    // Creates the window, runs its load handling (translation, position, lists) and shows it.
    static void Show();
    static bool Exists();
    static HWND Handle();
    // Keyboard navigation (Tab, Enter, Esc) in the program's modeless windows; true when the
    // message was handled.
    static bool PreTranslate(MSG& msg);
};

} // namespace velmora::app
