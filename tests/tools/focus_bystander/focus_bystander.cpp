// A window of another process that holds the keyboard focus while a test starts the client, and
// records every key that reaches it: the proof that no keystroke leaks into other programs.
//
//   VELMORA_BYSTANDER_RECORD=<file>     where it records (required: without it, it exits at once)
//   VELMORA_BYSTANDER_LIFETIME_MS=<n>   exit by itself after n ms (default 30000)
//
// Records (format: tests/tools/common/record_log.h): pid; after it took the foreground: ready,
// foreground, focus; then as they happen: keydown / keyup / char (the key or character code),
// deactivated, killfocus, exit.
#include "common/record_log.h"

#include <windows.h>

namespace {

using velmora::tools::RecordLog;

RecordLog* g_log = nullptr;
bool g_closing = false; // its own close takes the focus away: that is not recorded
constexpr wchar_t kClass[] = L"VelmoraFocusBystander";

void Quit(HWND hwnd, const wchar_t* reason) {
    g_closing = true;
    g_log->Write(L"exit", reason);
    DestroyWindow(hwnd);
}

LRESULT CALLBACK BystanderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        g_log->Write(L"keydown", static_cast<long long>(wParam));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        g_log->Write(L"keyup", static_cast<long long>(wParam));
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        g_log->Write(L"char", static_cast<long long>(wParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && !g_closing)
            g_log->WriteTime(L"deactivated");
        break;
    case WM_KILLFOCUS:
        if (!g_closing)
            g_log->WriteTime(L"killfocus");
        break;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        Quit(hwnd, L"lifetime");
        return 0;
    case WM_CLOSE:
        Quit(hwnd, L"close");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace velmora::tools;
    RecordLog log(EnvironmentText(L"VELMORA_BYSTANDER_RECORD"));
    if (!log.IsOpen())
        return 2;
    g_log = &log;
    log.Write(L"pid", GetCurrentProcessId());

    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = BystanderProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, kClass, L"Focus Bystander", WS_OVERLAPPEDWINDOW, 40, 40, 360, 200, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd)
        return 3;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetTimer(hwnd, 1, EnvironmentNumber(L"VELMORA_BYSTANDER_LIFETIME_MS", 30000), nullptr);
    log.WriteTime(L"ready");
    log.Write(L"foreground", GetForegroundWindow() == hwnd ? 1 : 0);
    log.Write(L"focus", GetFocus() == hwnd ? 1 : 0);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
