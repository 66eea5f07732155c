// Sizes for windows laid out in twips (1/1440 inch, 15 per pixel at 96 DPI), scaled to the DPI
// of the monitor the window is on. The per-monitor functions came with Windows 8.1 and 10; they
// are looked up on first use, so the program starts on Windows 7 too, where the system DPI
// applies to every window.
#pragma once
#include "platform/handles.h"

namespace velmora::platform {

inline int TwipsToPx(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}
inline int PxToTwips(int pixels, UINT dpi) {
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

// The DPI of the primary screen the program started with.
UINT SystemDpi();
// The DPI the window is drawn at: its own (Windows 10), its monitor's (Windows 8.1) or the system's.
UINT WindowDpi(HWND hwnd);
// GetSystemMetrics for a DPI (scaled from the system DPI where Windows cannot say).
int SystemMetric(int index, UINT dpi);
// The window size that gives a client area of rc at dpi.
void AdjustWindowRectForDpi(RECT& rc, DWORD style, DWORD exStyle, UINT dpi);
// The system's message font (what dialogs use) at the given DPI.
UniqueGdiObject CreateMessageFont(UINT dpi);
// A font of a given face and size in points (e.g. 9.75), at the given DPI.
UniqueGdiObject CreatePointFont(const wchar_t* face, double points, UINT dpi, bool bold = false,
                                bool underline = false);
// Sets the font of a window and all of its descendants.
void SetFontDeep(HWND hwnd, HFONT font);

} // namespace velmora::platform
