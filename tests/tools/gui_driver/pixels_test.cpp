// The pixel arithmetic of the GUI driver: the BMP layout a viewer expects, and the icon comparison
// that must tell an icon from its background and from the other icons.
#include "gui_driver/pixels.h"

#include <gtest/gtest.h>

namespace velmora::gui {
namespace {

uint32_t Le(const std::string& bytes, size_t at, int n) {
    uint32_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

Pixels Image(int width, int height, uint32_t fill) {
    return Pixels{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, fill)};
}

TEST(EncodeBmp, HeaderAndPaddedBottomUpRows) {
    // Widths whose rows need 0..3 padding bytes.
    for (int width : {1, 2, 3, 4, 5}) {
        Pixels image = Image(width, 2, 0x000000);
        image.rgb[0] = 0x112233;                          // top-left
        image.rgb[static_cast<size_t>(width)] = 0xA0B0C0; // bottom-left
        std::string bmp = EncodeBmp(image);
        const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + 2 * row) << "width " << width;
        EXPECT_EQ(bmp.substr(0, 2), "BM") << "width " << width;
        EXPECT_EQ(Le(bmp, 2, 4), bmp.size()) << "width " << width;
        EXPECT_EQ(Le(bmp, 10, 4), 54u) << "pixel data offset, width " << width;
        EXPECT_EQ(Le(bmp, 18, 4), static_cast<uint32_t>(width));
        EXPECT_EQ(Le(bmp, 22, 4), 2u) << "positive height: bottom-up";
        EXPECT_EQ(Le(bmp, 28, 2), 24u) << "bits per pixel";
        EXPECT_EQ(Le(bmp, 34, 4), 2 * row) << "image size, width " << width;
        // First stored row is the bottom one; each pixel is B, G, R.
        EXPECT_EQ(Le(bmp, 54, 3), 0xA0B0C0u) << "width " << width;
        EXPECT_EQ(Le(bmp, 54 + row, 3), 0x112233u) << "width " << width;
        for (size_t pad = static_cast<size_t>(width) * 3; pad < row; ++pad)
            EXPECT_EQ(bmp[54 + pad], '\0') << "padding byte " << pad << ", width " << width;
    }
}

TEST(EncodeBmp, EmptyImageIsAHeaderOnly) {
    std::string bmp = EncodeBmp(Pixels{});
    EXPECT_EQ(bmp.size(), 54u);
    EXPECT_EQ(Le(bmp, 2, 4), 54u);
}

TEST(IconMatch, CountsOnlyTheIconsOpaquePixels) {
    // A 4x1 "icon": two opaque pixels (same on both backgrounds), two transparent ones.
    Pixels onBlack{4, 1, {0xFF0000, 0x00FF00, 0x000000, 0x101010}};
    Pixels onWhite{4, 1, {0xFF0000, 0x00FF00, 0xFFFFFF, 0xF0F0F0}};
    struct Case {
        const char* name;
        Pixels screen;
        double expected;
    };
    const Case cases[] = {
        {"exact, grey background", {4, 1, {0xFF0000, 0x00FF00, 0x808080, 0x808080}}, 1.0},
        {"within tolerance", {4, 1, {0xF80808, 0x08F808, 0x123456, 0x654321}}, 1.0},
        {"one channel off by 9", {4, 1, {0xFF0000, 0x00F600, 0, 0}}, 0.5},
        {"background only", {4, 1, {0xF5F5F5, 0xF5F5F5, 0xF5F5F5, 0xF5F5F5}}, 0.0},
        {"other icon", {4, 1, {0x0000FF, 0xFFFF00, 0xFF0000, 0x00FF00}}, 0.0},
        {"size differs", {2, 2, {0xFF0000, 0x00FF00, 0, 0}}, 0.0},
        {"nothing captured", {}, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(IconMatch(c.screen, onBlack, onWhite), c.expected) << c.name;
}

TEST(IconMatch, AnIconWithoutOpaquePixelsMatchesNothing) {
    Pixels onBlack = Image(2, 2, 0x000000);
    Pixels onWhite = Image(2, 2, 0xFFFFFF);
    EXPECT_EQ(IconMatch(Image(2, 2, 0x000000), onBlack, onWhite), 0.0) << "a blank screen is no icon";
}

} // namespace
} // namespace velmora::gui
