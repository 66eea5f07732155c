// The main window's banner: a blue band down its right side with the logo at the top and the
// program's name running up the band.
#pragma once
#include "platform/handles.h"

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

} // namespace velmora::app
