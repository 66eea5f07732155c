// The main window's pictures at its DPI: its icons, the status pictures, the buttons' pictures and
// the banner, a blue band down its right side with the logo at the top and the program's name
// running up the band.
#pragma once
#include "platform/handles.h"

#include <array>

namespace velmora::app {

class Banner {
public:
    // The font of the name, for the window's DPI.
    void SetDpi(UINT dpi, HFONT baseFont);
    void Draw(const DRAWITEMSTRUCT& item);

private:
    platform::UniqueGdiObject font_;
    platform::UniqueIcon logo_; // drawn once per size, not on every paint
    int logoSize_ = 0;
};

class MainPictures {
public:
    // Makes the pictures for the window's DPI and hands them to its controls (before the old ones
    // are destroyed).
    void Apply(HWND window, UINT dpi, HFONT font);
    void DrawBanner(const DRAWITEMSTRUCT& item) { banner_.Draw(item); }

private:
    Banner banner_;
    platform::UniqueImageList statusImages_;
    std::array<platform::UniqueImageList, 4> buttonImages_;
    platform::UniqueIcon bigIcon_, smallIcon_;
};

} // namespace velmora::app
