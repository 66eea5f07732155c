// A window of another process that holds the foreground and the focus while a test starts the
// client, and records whatever input reaches it: the proof that no keystroke and no activation
// leaks into other programs. VELMORA_BYSTANDER_RECORD=<file> names its record (required); it ends
// after 30 s by itself. It records (format: common/record_log.h) "ready" (1 when it holds the
// foreground and the focus), then "input" with the number of every key or character message,
// deactivation and focus loss it gets, and "exit".
#include "common/record_log.h"

namespace {

velmora::tools::RecordLog g_log(L"VELMORA_BYSTANDER_RECORD");
bool g_closing = false; // its own close takes the focus away: that is not recorded

LRESULT CALLBACK BystanderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool key = message >= WM_KEYFIRST && message <= WM_KEYLAST;
    bool lost = message == WM_KILLFOCUS || (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE);
    if (key || (lost && !g_closing))
        g_log.Write(L"input", message);
    if (message == WM_CLOSE || message == WM_TIMER) {
        g_closing = true;
        g_log.Write(L"exit", message == WM_CLOSE ? L"close" : L"lifetime");
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return key ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!g_log)
        return 2;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = BystanderProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VelmoraFocusBystander";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Focus Bystander", WS_OVERLAPPEDWINDOW, 40, 40, 360,
                                200, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetTimer(hwnd, 1, 30000, nullptr);
    g_log.Write(L"ready", hwnd && GetForegroundWindow() == hwnd && GetFocus() == hwnd ? 1 : 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
