#include "app/wait_window.h"

#include "app/control_table.h"
#include "app/main_window_ids.h"
#include "app/pictures_win.h"
#include "platform/dpi.h"

#include <array>

namespace velmora::app {
namespace {

using platform::TwipsToPx;

const std::array<ControlRow, 2> kControls{{
    {IDC_WAIT_PICTURE, ControlKind::Picture, L"imgWait", nullptr, nullptr, 120, 120, 615, 615, 0},
    {IDC_WAIT_TEXT, ControlKind::Label, L"lblText", L"One Moment please, ICQ Lite is starting",
     L"Einen Moment bitte, ICQ Lite wird gestartet...", 840, 120, 2535, 615, 0},
}};
constexpr int kClientWidth = 3495, kClientHeight = 855;

HWND g_hwnd = nullptr;
platform::UniqueGdiObject g_font;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        int w = item->rcItem.right - item->rcItem.left, h = item->rcItem.bottom - item->rcItem.top;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        int size = std::min(w, h);
        pictures::DrawPicture(item->hDC, pictures::Picture::Wait, item->rcItem.left + (w - size) / 2,
                              item->rcItem.top + (h - size) / 2, size);
        return TRUE;
    }
    case WM_DESTROY:
        if (hwnd == g_hwnd)
            g_hwnd = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

HWND WaitWindow() {
    return g_hwnd;
}

void ShowWaitWindow(HWND owner) {
    CloseWaitWindow();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    if (!GetClassInfoExW(instance, kWaitWindowClass, &wc)) {
        wc = WNDCLASSEXW{sizeof(wc)};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWaitWindowClass;
        RegisterClassExW(&wc);
    }
    const DWORD style = WS_POPUP | WS_BORDER;
    g_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kWaitWindowClass, L"", style, 0, 0, 10, 10, owner, nullptr,
                             instance, nullptr);
    if (!g_hwnd)
        return;
    UINT dpi = platform::WindowDpi(owner ? owner : g_hwnd);
    CreateControls(g_hwnd, kControls, dpi);
    g_font = platform::CreateMessageFont(dpi);
    platform::SetFontDeep(g_hwnd, static_cast<HFONT>(g_font.get()));
    TranslateControls(g_hwnd);

    RECT rc{0, 0, TwipsToPx(kClientWidth, dpi), TwipsToPx(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&rc, style, FALSE, WS_EX_TOOLWINDOW, dpi);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    RECT ownerRect{};
    if (owner)
        GetWindowRect(owner, &ownerRect);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &ownerRect, 0);
    int x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    SetWindowPos(g_hwnd, HWND_TOP, x, y, width, height, SWP_NOACTIVATE);
    ShowWindow(g_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(g_hwnd);
}

void CloseWaitWindow() {
    if (g_hwnd)
        DestroyWindow(g_hwnd);
    g_hwnd = nullptr;
    g_font.reset();
}

} // namespace velmora::app
