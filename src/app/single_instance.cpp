#include "app/single_instance.h"

#include "app/main_window_ids.h"
#include "platform/handles.h"

namespace velmora::app {

namespace {
// Held until the process ends; "Local\" makes it one per session.
platform::UniqueHandle g_running;
} // namespace

bool HandOverToRunningInstance() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Ardentix.Velmora.Running");
    DWORD error = GetLastError(); // before anything else can change it
    g_running.reset(mutex);
    if (!mutex || error != ERROR_ALREADY_EXISTS)
        return false;
    // The first one may still be on its way to its window.
    HWND main = nullptr;
    for (int i = 0; i < 100 && !main; ++i) {
        main = FindWindowW(kMainWindowClass, kMainWindowTitle);
        if (!main)
            Sleep(50);
    }
    if (main) {
        // This process was just started by the user and may hand the foreground on; the first one
        // takes it.
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        AllowSetForegroundWindow(pid);
        PostMessageW(main, kActivateMessage, 0, 0);
    }
    return true;
}

} // namespace velmora::app
