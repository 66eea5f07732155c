// The image lists the window hands to its status list and buttons: each image drawn from the list
// must be the picture of its number, blended by its transparency (not darkened twice, not shifted
// into its neighbour's place in the strip the list is filled from).
#include "ui/pictures_win.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <cstdlib>

namespace velmora::ui::pictures {
namespace {

constexpr uint32_t kBackground = 0x00FFFFFF; // white

// What the picture looks like drawn over the white background.
uint32_t OverWhite(uint32_t premultiplied) {
    uint32_t a = premultiplied >> 24, out = 0;
    for (int shift : {16, 8, 0})
        out |= (((premultiplied >> shift) & 0xFF) + (255 - a)) << shift;
    return out;
}

int LargestChannelDifference(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift : {16, 8, 0})
        largest = std::max(
            largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return largest;
}

// Draws image index of list onto white and returns the largest difference from the expected
// picture, at the pixel where it was seen.
struct Difference {
    int largest = 0, x = 0, y = 0;
};
Difference DrawAndCompare(HIMAGELIST list, int index, const Image& expected) {
    const int size = expected.size;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    platform::UniqueGdiObject target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target.get());
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + size * size, kBackground);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    Difference d;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int diff = LargestChannelDifference(pixels[y * size + x] & 0xFFFFFF,
                                                OverWhite(expected.pixels[y * size + x]));
            if (diff > d.largest)
                d = {diff, x, y};
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    return d;
}

// 100 %, 150 % and 200 % of the 16-pixel pictures.
const int kSizes[] = {16, 24, 32};

TEST(PictureLists, StatusListHoldsEveryPictureInItsPlace) {
    for (int size : kSizes) {
        platform::UniqueImageList list = CreateStatusImageList(size);
        ASSERT_TRUE(list) << size << " px";
        ASSERT_EQ(ImageList_GetImageCount(list.get()), kStatusPictureCount) << size << " px";
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list.get(), &cx, &cy);
        EXPECT_TRUE(cx == size && cy == size) << "images of " << cx << " x " << cy << " for " << size;
        for (int n = 1; n <= kStatusPictureCount; ++n) {
            Difference d = DrawAndCompare(list.get(), n - 1, DrawStatus(n, size));
            EXPECT_LE(d.largest, 3) << "picture " << n << " at " << size << " px is off by " << d.largest
                                    << " at (" << d.x << ", " << d.y << ")";
        }
    }
}

TEST(PictureLists, ButtonListHoldsItsOnePicture) {
    for (int size : kSizes)
        for (Picture picture : {Picture::Start, Picture::Settings, Picture::Update, Picture::Info}) {
            platform::UniqueImageList list = CreateButtonImageList(picture, size);
            ASSERT_EQ(ImageList_GetImageCount(list.get()), 1) << size << " px";
            Difference d = DrawAndCompare(list.get(), 0, Draw(picture, size));
            EXPECT_LE(d.largest, 3) << "picture " << static_cast<int>(picture) << " at " << size
                                    << " px is off by " << d.largest << " at (" << d.x << ", " << d.y << ")";
        }
}

} // namespace
} // namespace velmora::ui::pictures
