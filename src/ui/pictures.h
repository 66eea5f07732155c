// The program's pictures: seven status pictures, the logo, the wait picture and the button
// pictures. They are drawn at run time from simple shapes at exactly the pixel size a window
// needs, so they stay sharp at every scaling, and every status has its own outline so that it
// can be told apart without its colour. Pure C++ (no <windows.h>); pictures_win turns an Image
// into icons and image lists.
#pragma once
#include <cstdint>
#include <vector>

namespace velmora::ui::pictures {

// Numbered as the status list expects them: picture n belongs to row n of the status table.
enum class Picture {
    Online = 1,
    Away,
    Dnd,
    NotAvailable,
    Occupied,
    FreeForChat,
    Invisible,
    Logo,
    Wait,
    Start,
    Settings,
    Update,
    Info,
    Flower,
};
constexpr int kStatusPictureCount = 7;

// A square picture, top-down rows, each pixel 0xAARRGGBB with the colour premultiplied by alpha.
struct Image {
    int size = 0;
    std::vector<uint32_t> pixels;
    uint8_t Alpha(int x, int y) const { return static_cast<uint8_t>(pixels[y * size + x] >> 24); }
};

Image Draw(Picture picture, int size);
// The status picture with number 1..7; out-of-range numbers are a programming error (asserted).
Image DrawStatus(int pictureNumber, int size);

// Colour with the alpha divided out again, as icons want it.
uint32_t Unpremultiply(uint32_t premultiplied);

} // namespace velmora::ui::pictures
