// Pixel arithmetic for the GUI driver, kept apart from Windows so that it can be checked alone:
// a 24-bit BMP encoder and the comparison that recognises an icon on a captured piece of screen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::gui {

// Top-down rows of 0x00RRGGBB pixels.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;

    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// The bytes of a bottom-up 24-bit BMP file of the image (rows padded to 4 bytes).
std::string EncodeBmp(const Pixels& image);

// How well `screen` shows an icon that was drawn once on black (`onBlack`) and once on white
// (`onWhite`): the share of the icon's opaque pixels (same colour on both backgrounds) that have
// that colour on screen, each channel within `tolerance`. 0 when the icon has no opaque pixel or the
// sizes differ.
double IconMatch(const Pixels& screen, const Pixels& onBlack, const Pixels& onWhite, int tolerance = 8);

} // namespace velmora::gui
