#include "app/main_window.h"

#include "app/global.h"
#include "app/shared.h"
#include "errors/trap.h"
#include "settings/settings.h"

#include <string>

namespace velmora::app {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraMain";
HWND g_hwnd = nullptr;

// Window positions are stored in twips, 1/1440 inch: 15 per pixel at 96 DPI.
double PixelsToTwips(int pixels, UINT dpi) {
    return pixels * 1440.0 / dpi;
}

std::wstring NumberText(double value) {
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.7g", value);
    return buffer;
}

void Form_Unload(HWND hwnd) {
    err::EventTrap(L"frmMain.Form_Unload(Cancel)", err::Args(int16_t{0}), [&] {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        UINT dpi = GetDpiForWindow(hwnd);
        Shared().settings->WriteValue(L"frmMain.Left", NumberText(PixelsToTwips(rc.left, dpi)));
        Shared().settings->WriteValue(L"frmMain.Top", NumberText(PixelsToTwips(rc.top, dpi)));
        Dispose();
    });
    // Closing is never cancelled.
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    PostQuitMessage(0);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        Form_Unload(hwnd);
        return 0;
    case WM_DESTROY:
        if (hwnd == g_hwnd)
            g_hwnd = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

void MainWindow::Show() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    RegisterClassExW(&wc);
    g_hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"Velmora",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                             CW_USEDEFAULT, 240, 400, nullptr, nullptr, instance, nullptr);
    ShowWindow(g_hwnd, SW_SHOWNORMAL);
    UpdateWindow(g_hwnd);
}

bool MainWindow::Exists() {
    return g_hwnd != nullptr;
}
HWND MainWindow::Handle() {
    return g_hwnd;
}

bool MainWindow::PreTranslate(MSG& msg) {
    return g_hwnd && IsDialogMessageW(g_hwnd, &msg);
}

} // namespace velmora::app
