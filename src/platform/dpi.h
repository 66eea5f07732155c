// Sizes for windows laid out in twips (1/1440 inch, 15 per pixel at 96 DPI), scaled to the DPI
// of the monitor the window is on.
#pragma once
#include "platform/handles.h"

namespace velmora::platform {

inline int TwipsToPx(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}
inline int PxToTwips(int pixels, UINT dpi) {
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

// The DPI the window is drawn at (96 when the system cannot say).
UINT WindowDpi(HWND hwnd);
// The system's message font (what dialogs use) at the given DPI.
UniqueGdiObject CreateMessageFont(UINT dpi);
// A font of a given face and size in points (e.g. 9.75), at the given DPI.
UniqueGdiObject CreatePointFont(const wchar_t* face, double points, UINT dpi, bool bold = false,
                                bool underline = false);
// Sets the font of a window and all of its descendants.
void SetFontDeep(HWND hwnd, HFONT font);

} // namespace velmora::platform
