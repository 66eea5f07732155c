// The program's main window ("Velmora").
#pragma once
#include <windows.h>

namespace velmora::app {

class MainWindow {
public:
    static void Show();
    static bool Exists();
    static HWND Handle();
    // Keyboard navigation between the controls; true when the message was handled.
    static bool PreTranslate(MSG& msg);
};

} // namespace velmora::app
