#include "pixels.h"

#include <cstdlib>

namespace velmora::gui {
namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int ca = static_cast<int>((a >> shift) & 0xFF);
        int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}

} // namespace

std::string EncodeBmp(const Pixels& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
    const uint32_t headerBytes = 14 + 40;
    std::string out;
    out.reserve(headerBytes + dataBytes);
    // BITMAPFILEHEADER
    out += "BM";
    PutLe(out, headerBytes + dataBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, headerBytes, 4);
    // BITMAPINFOHEADER: positive height means the last row comes first.
    PutLe(out, 40, 4);
    PutLe(out, static_cast<uint32_t>(image.width), 4);
    PutLe(out, static_cast<uint32_t>(image.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4); // BI_RGB
    PutLe(out, dataBytes, 4);
    PutLe(out, 3780, 4); // 96 DPI in pixels per metre
    PutLe(out, 3780, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x)
            PutLe(out, image.at(x, y), 3); // little-endian 0x00RRGGBB is B, G, R
        out.append(rowBytes - static_cast<uint32_t>(image.width) * 3, '\0');
    }
    return out;
}

double IconMatch(const Pixels& screen, const Pixels& onBlack, const Pixels& onWhite, int tolerance) {
    if (screen.width != onBlack.width || screen.height != onBlack.height || onBlack.width != onWhite.width ||
        onBlack.height != onWhite.height || screen.rgb.size() != onBlack.rgb.size() ||
        onBlack.rgb.size() != onWhite.rgb.size())
        return 0.0;
    size_t opaque = 0;
    size_t matching = 0;
    for (size_t i = 0; i < onBlack.rgb.size(); ++i) {
        // A pixel that shows the background through (fully or partly) depends on what is behind
        // the icon on screen; only fully opaque ones say which icon it is.
        if (!Near(onBlack.rgb[i], onWhite.rgb[i], 0))
            continue;
        ++opaque;
        if (Near(screen.rgb[i], onBlack.rgb[i], tolerance))
            ++matching;
    }
    return opaque == 0 ? 0.0 : static_cast<double>(matching) / static_cast<double>(opaque);
}

} // namespace velmora::gui
