#include "app/banner.h"

#include "platform/dpi.h"
#include "ui/pictures_win.h"
#include "ui/window.h"

namespace velmora::app {

void Banner::SetDpi(UINT dpi, HFONT baseFont) {
    LOGFONTW lf{};
    GetObjectW(baseFont, sizeof(lf), &lf);
    lf.lfHeight = -platform::TwipsToPx(420, dpi);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = 900; // reads bottom to top
    font_.reset(CreateFontIndirectW(&lf));
}

void Banner::Draw(const DRAWITEMSTRUCT& item) {
    RECT rc = item.rcItem;
    int width = rc.right - rc.left;
    TRIVERTEX band[2] = {{rc.left, rc.top, 0x1C00, 0x3E00, 0x7400, 0xFF00},
                         {rc.right, rc.bottom, 0x5A00, 0x8F00, 0xD000, 0xFF00}};
    GRADIENT_RECT whole{0, 1};
    GdiGradientFill(item.hDC, band, 2, &whole, 1, GRADIENT_FILL_RECT_V);

    int margin = width / 8;
    int size = width - 2 * margin;
    if (!logo_ || logoSize_ != size) {
        logo_ = ui::pictures::CreatePictureIcon(ui::pictures::Picture::Logo, size);
        logoSize_ = size;
    }
    DrawIconEx(item.hDC, rc.left + margin, rc.top + margin, logo_.get(), size, size, 0, nullptr, DI_NORMAL);

    HGDIOBJ old = SelectObject(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(0xFF, 0xFF, 0xFF));
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    int x = rc.left + (width - metrics.tmHeight) / 2;
    TextOutW(item.hDC, x, rc.bottom - margin, ui::kProgramTitle, lstrlenW(ui::kProgramTitle));
    SelectObject(item.hDC, old);
}

} // namespace velmora::app
