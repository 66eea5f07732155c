#include "platform/dpi.h"

#include "platform/on_demand.h"

#include <cmath>

namespace velmora::platform {
namespace {

using on_demand::Function;
constexpr wchar_t kUser32[] = L"user32.dll";

// MDT_EFFECTIVE_DPI of GetDpiForMonitor (shcore, Windows 8.1).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

} // namespace

UINT SystemDpi() {
    static const auto forSystem = Function<decltype(&::GetDpiForSystem)>(kUser32, "GetDpiForSystem");
    if (UINT dpi = forSystem ? forSystem() : 0)
        return dpi;
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND hwnd) {
    static const auto forWindow = Function<decltype(&::GetDpiForWindow)>(kUser32, "GetDpiForWindow");
    static const auto forMonitor = Function<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    if (hwnd && forWindow) {
        if (UINT dpi = forWindow(hwnd))
            return dpi;
    } else if (hwnd && forMonitor) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x)
            return x;
    }
    return SystemDpi();
}

int SystemMetric(int index, UINT dpi) {
    static const auto forDpi =
        Function<decltype(&::GetSystemMetricsForDpi)>(kUser32, "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void AdjustWindowRectForDpi(RECT& rc, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi =
        Function<decltype(&::AdjustWindowRectExForDpi)>(kUser32, "AdjustWindowRectExForDpi");
    if (forDpi && forDpi(&rc, style, FALSE, exStyle, dpi))
        return;
    // The frame at the system DPI, which is the only one such a system draws with.
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
}

UniqueGdiObject CreateMessageFont(UINT dpi) {
    static const auto forDpi =
        Function<decltype(&::SystemParametersInfoForDpi)>(kUser32, "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        // The metrics at the system DPI, scaled by hand.
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    }
    return UniqueGdiObject(CreateFontIndirectW(&metrics.lfMessageFont));
}

UniqueGdiObject CreatePointFont(const wchar_t* face, double points, UINT dpi, bool bold, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy_s(lf.lfFaceName, face, _TRUNCATE);
    return UniqueGdiObject(CreateFontIndirectW(&lf));
}

namespace {
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) noexcept {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

void SetFontDeep(HWND hwnd, HFONT font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnumChildWindows(hwnd, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

} // namespace velmora::platform
