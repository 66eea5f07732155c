#include "app/pictures.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace velmora::app::pictures {
namespace {

// Where the picture shows its coloured ink: clearly opaque and not the white of a sign drawn on
// top. What is left when the colour is taken away is this pattern.
bool Ink(const Image& img, int x, int y) {
    uint32_t px = img.pixels[y * img.size + x];
    uint32_t a = px >> 24;
    if (a < 128)
        return false;
    uint32_t lightest = std::min({(px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF}) * 255 / a;
    return lightest < 200;
}

// Share of pixels that are ink in one picture and not in the other.
double SilhouetteDifference(const Image& a, const Image& b) {
    int differ = 0;
    for (int y = 0; y < a.size; ++y)
        for (int x = 0; x < a.size; ++x)
            if (Ink(a, x, y) != Ink(b, x, y))
                ++differ;
    return static_cast<double>(differ) / (a.size * a.size);
}

double Coverage(const Image& img) {
    int inside = 0;
    for (int y = 0; y < img.size; ++y)
        for (int x = 0; x < img.size; ++x)
            inside += img.Alpha(x, y) >= 128;
    return static_cast<double>(inside) / (img.size * img.size);
}

// 100 %, 150 % and 200 % of the 16-pixel list pictures, and the large logo sizes.
const int kSizes[] = {16, 24, 32, 48};

TEST(Pictures, StatusPatternsDifferWithoutColourAtEverySize) {
    for (int size : kSizes) {
        std::vector<Image> images;
        for (int n = 1; n <= kStatusPictureCount; ++n)
            images.push_back(DrawStatus(n, size));
        for (int i = 0; i < kStatusPictureCount; ++i)
            for (int j = i + 1; j < kStatusPictureCount; ++j) {
                double difference = SilhouetteDifference(images[i], images[j]);
                // Told apart without colour, by outline and sign: at least a tenth of the picture differs.
                EXPECT_GE(difference, 0.10) << "pictures " << i + 1 << " and " << j + 1 << " at " << size
                                            << " px differ in only " << difference * 100 << " % of pixels";
            }
    }
}

TEST(Pictures, EveryPictureFillsItsSquareAndLeavesABorderClear) {
    for (int size : kSizes)
        for (int p = static_cast<int>(Picture::Online); p <= static_cast<int>(Picture::Info); ++p) {
            Image img = Draw(static_cast<Picture>(p), size);
            ASSERT_EQ(img.size, size);
            ASSERT_EQ(img.pixels.size(), static_cast<size_t>(size * size));
            double coverage = Coverage(img);
            EXPECT_GT(coverage, 0.15)
                << "picture " << p << " at " << size << " px covers " << coverage * 100 << " %";
            EXPECT_LT(coverage, 0.95)
                << "picture " << p << " at " << size << " px covers " << coverage * 100 << " %";
            // Premultiplied: no colour channel above alpha.
            for (uint32_t px : img.pixels) {
                uint32_t a = px >> 24;
                ASSERT_LE((px >> 16) & 0xFF, a) << "picture " << p << " pixel " << std::hex << px;
                ASSERT_LE((px >> 8) & 0xFF, a) << "picture " << p << " pixel " << std::hex << px;
                ASSERT_LE(px & 0xFF, a) << "picture " << p << " pixel " << std::hex << px;
            }
        }
}

TEST(Pictures, EdgesAreSmoothNotJagged) {
    // Round outlines have partly covered pixels on their edge at every size.
    for (int size : kSizes) {
        Image img = Draw(Picture::Online, size);
        int partial = 0;
        for (uint32_t px : img.pixels) {
            uint32_t a = px >> 24;
            partial += a > 0 && a < 255;
        }
        EXPECT_GE(partial, size) << "only " << partial << " edge pixels at " << size << " px";
    }
}

TEST(Pictures, Unpremultiply) {
    struct Case {
        uint32_t in, out;
    };
    const Case cases[] = {{0x00000000, 0x00000000}, {0x00123456, 0x00000000}, {0xFF2E9E44, 0xFF2E9E44},
                          {0x80400020, 0x80800040}, {0x01010101, 0x01FFFFFF}, {0x40FFFFFF, 0x40FFFFFF}};
    for (const Case& c : cases)
        EXPECT_EQ(Unpremultiply(c.in), c.out) << std::hex << "in " << c.in << " gave " << Unpremultiply(c.in);
}

} // namespace
} // namespace velmora::app::pictures
