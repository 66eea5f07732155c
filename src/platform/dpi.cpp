#include "platform/dpi.h"

#include <cmath>

namespace velmora::platform {

UINT WindowDpi(HWND hwnd) {
    UINT dpi = hwnd ? GetDpiForWindow(hwnd) : 0;
    if (dpi == 0)
        dpi = GetDpiForSystem();
    return dpi ? dpi : 96;
}

UniqueGdiObject CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        // Older systems: the 96-DPI metrics, scaled by hand.
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), 96);
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
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

void SetFontDeep(HWND hwnd, HFONT font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnumChildWindows(hwnd, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

} // namespace velmora::platform
