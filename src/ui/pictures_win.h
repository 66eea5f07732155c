// The drawn pictures as Windows icons and image lists, at the pixel size a window needs.
#pragma once
#include "ui/pictures.h"
#include "platform/handles.h"

namespace velmora::ui::pictures {

platform::UniqueIcon CreatePictureIcon(Picture picture, int size);
// The seven status pictures, image n-1 being picture n.
platform::UniqueImageList CreateStatusImageList(int size);
// A one-picture image list for a button (BCM_SETIMAGELIST).
platform::UniqueImageList CreateButtonImageList(Picture picture, int size);
// Paints a picture onto a device context with its transparency.
void DrawPicture(HDC dc, Picture picture, int x, int y, int size);

} // namespace velmora::ui::pictures
