#include "ui/pictures.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace velmora::ui::pictures {
namespace {

// Where the picture shows coloured ink: clearly opaque and not the white of a sign drawn on top.
// What is left when the colour is taken away is this pattern.
bool Ink(const Image& img, int i) {
    uint32_t px = img.pixels[i], a = px >> 24;
    return a >= 128 && std::min({(px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF}) * 255 / a < 200;
}

// 100 %, 150 % and 200 % of the 16-pixel list pictures, and a large logo size.
const int kSizes[] = {16, 24, 32, 48};

TEST(Pictures, StatusPatternsDifferWithoutColourAtEverySize) {
    for (int size : kSizes)
        for (int i = 1; i <= kStatusPictureCount; ++i)
            for (int j = i + 1; j <= kStatusPictureCount; ++j) {
                Image a = DrawStatus(i, size), b = DrawStatus(j, size);
                int differ = 0;
                for (int k = 0; k < size * size; ++k)
                    differ += Ink(a, k) != Ink(b, k);
                // Told apart by outline and sign alone: at least a tenth of the picture differs.
                EXPECT_GE(differ * 10, size * size) << "pictures " << i << " and " << j << " at " << size
                                                    << " px differ in " << differ << " pixels";
            }
}

TEST(Pictures, EveryPictureIsDrawnSmoothAndPremultiplied) {
    for (int size : kSizes)
        for (int p = static_cast<int>(Picture::Online); p <= static_cast<int>(Picture::Info); ++p) {
            Image img = Draw(static_cast<Picture>(p), size);
            ASSERT_EQ(img.pixels.size(), static_cast<size_t>(size * size));
            int opaque = 0, edge = 0;
            for (uint32_t px : img.pixels) {
                uint32_t a = px >> 24;
                opaque += a >= 128;
                edge += a > 0 && a < 255;
                ASSERT_TRUE(((px >> 16) & 0xFF) <= a && ((px >> 8) & 0xFF) <= a && (px & 0xFF) <= a)
                    << "picture " << p << ": colour above alpha in " << std::hex << px;
            }
            EXPECT_TRUE(opaque * 100 > size * size * 15 && opaque * 100 < size * size * 95)
                << "picture " << p << " at " << size << " px covers " << opaque << " pixels";
            EXPECT_GE(edge, size / 2) << "picture " << p << " at " << size << " px has jagged edges";
        }
    // Icons want the colour without alpha multiplied in.
    EXPECT_EQ(Unpremultiply(0x80400020), 0x80800040u);
    EXPECT_EQ(Unpremultiply(0x00123456), 0u);
}

} // namespace
} // namespace velmora::ui::pictures
