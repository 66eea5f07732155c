#include "ui/pictures_win.h"

#include <array>
#include <span>

namespace velmora::ui::pictures {
namespace {

// A 32-bit top-down DIB section holding the images side by side, with straight alpha as icons and
// image lists keep it.
platform::UniqueGdiObject MakeStrip(std::span<const Image> images) {
    const int size = images.empty() ? 1 : images.front().size;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = size * static_cast<int>(images.size());
    header.bV5Height = -size;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return {};
    auto* out = static_cast<uint32_t*>(bits);
    const size_t stride = static_cast<size_t>(header.bV5Width);
    for (size_t n = 0; n < images.size(); ++n)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                out[y * stride + n * size + x] = Unpremultiply(images[n].pixels[y * size + x]);
    GdiFlush();
    return platform::UniqueGdiObject(bitmap);
}

// An image list filled with one call from a strip: far fewer calls into the system than adding
// the pictures one by one as icons, which is what start-up would otherwise spend its time on.
platform::UniqueImageList MakeImageList(std::span<const Image> images) {
    const int size = images.front().size;
    const int count = static_cast<int>(images.size());
    platform::UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, count, 0));
    platform::UniqueGdiObject strip = MakeStrip(images);
    if (list && strip)
        ImageList_Add(list.get(), static_cast<HBITMAP>(strip.get()), nullptr);
    return list;
}

} // namespace

platform::UniqueIcon CreatePictureIcon(Picture picture, int size) {
    Image image = Draw(picture, size);
    platform::UniqueGdiObject colour = MakeStrip({&image, 1});
    // The alpha channel decides; the mask only has to exist.
    platform::UniqueGdiObject mask(CreateBitmap(image.size, image.size, 1, 1, nullptr));
    if (!colour || !mask)
        return {};
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(colour.get())};
    return platform::UniqueIcon(CreateIconIndirect(&info));
}

platform::UniqueImageList CreateStatusImageList(int size) {
    std::array<Image, kStatusPictureCount> images;
    for (int n = 1; n <= kStatusPictureCount; ++n)
        images[n - 1] = DrawStatus(n, size);
    return MakeImageList(images);
}

platform::UniqueImageList CreateButtonImageList(Picture picture, int size) {
    Image image = Draw(picture, size);
    return MakeImageList({&image, 1});
}

void DrawPicture(HDC dc, Picture picture, int x, int y, int size) {
    platform::UniqueIcon icon = CreatePictureIcon(picture, size);
    DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
}

} // namespace velmora::ui::pictures
