#include "app/pictures_win.h"

#include <cstring>

namespace velmora::app::pictures {
namespace {

// A 32-bit top-down DIB section holding the image; straight alpha for icons, premultiplied for
// AlphaBlend.
platform::UniqueGdiObject MakeBitmap(const Image& image, bool premultiplied) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = image.size;
    header.bV5Height = -image.size;
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
    for (size_t i = 0; i < image.pixels.size(); ++i)
        out[i] = premultiplied ? image.pixels[i] : Unpremultiply(image.pixels[i]);
    GdiFlush();
    return platform::UniqueGdiObject(bitmap);
}

} // namespace

platform::UniqueIcon CreatePictureIcon(Picture picture, int size) {
    Image image = Draw(picture, size);
    platform::UniqueGdiObject colour = MakeBitmap(image, false);
    // The alpha channel decides; the mask only has to exist.
    platform::UniqueGdiObject mask(CreateBitmap(image.size, image.size, 1, 1, nullptr));
    if (!colour || !mask)
        return {};
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(colour.get())};
    return platform::UniqueIcon(CreateIconIndirect(&info));
}

platform::UniqueImageList CreateStatusImageList(int size) {
    platform::UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, kStatusPictureCount, 0));
    for (int n = 1; n <= kStatusPictureCount; ++n) {
        platform::UniqueIcon icon = CreatePictureIcon(static_cast<Picture>(n), size);
        ImageList_AddIcon(list.get(), icon.get());
    }
    return list;
}

platform::UniqueImageList CreateButtonImageList(Picture picture, int size) {
    platform::UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, 1, 0));
    platform::UniqueIcon icon = CreatePictureIcon(picture, size);
    ImageList_AddIcon(list.get(), icon.get());
    return list;
}

void DrawPicture(HDC dc, Picture picture, int x, int y, int size) {
    platform::UniqueIcon icon = CreatePictureIcon(picture, size);
    DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
}

} // namespace velmora::app::pictures
