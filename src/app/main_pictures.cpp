#include "app/main_pictures.h"

#include "app/main_window_ids.h"

#include "platform/dpi.h"
#include "ui/pictures_win.h"
#include "ui/window.h"

#include <commctrl.h>

namespace velmora::app {
namespace {
namespace pictures = ui::pictures;

struct ButtonPicture {
    int id;
    pictures::Picture picture;
};
constexpr std::array<ButtonPicture, 4> kButtonPictures{{
    {IDC_CBTN_START, pictures::Picture::Start},
    {IDC_CBTN_SETTINGS, pictures::Picture::Settings},
    {IDC_CBTN_NEW_VERSION, pictures::Picture::Update},
    {IDC_CBTN_INFO, pictures::Picture::Info},
}};
} // namespace

void MainPictures::Apply(HWND window, UINT dpi, HFONT font) {
    auto smallIcon =
        pictures::CreatePictureIcon(pictures::Picture::Logo, platform::SystemMetric(SM_CXSMICON, dpi));
    auto bigIcon =
        pictures::CreatePictureIcon(pictures::Picture::Logo, platform::SystemMetric(SM_CXICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    smallIcon_ = std::move(smallIcon);
    bigIcon_ = std::move(bigIcon);

    int small = MulDiv(16, static_cast<int>(dpi), 96);
    auto statusImages = pictures::CreateStatusImageList(small);
    SendMessageW(GetDlgItem(window, IDC_IMGCOMB_STATUS), CBEM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(statusImages.get()));
    statusImages_ = std::move(statusImages);
    for (size_t i = 0; i < kButtonPictures.size(); ++i) {
        auto images = pictures::CreateButtonImageList(kButtonPictures[i].picture, small);
        BUTTON_IMAGELIST info{
            images.get(), {MulDiv(6, static_cast<int>(dpi), 96), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        SendMessageW(GetDlgItem(window, kButtonPictures[i].id), BCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(&info));
        buttonImages_[i] = std::move(images);
    }
    banner_.SetDpi(dpi, font);
}

void Banner::SetDpi(UINT dpi, HFONT baseFont) {
    LOGFONTW lf{};
    GetObjectW(baseFont, sizeof(lf), &lf);
    lf.lfHeight = -platform::TwipsToPx(420, dpi);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = 900; // reads bottom to top
    font_.reset(CreateFontIndirectW(&lf));
}

// In a high-contrast theme the band takes the theme's highlight colours instead of its blues.
void Banner::Draw(const DRAWITEMSTRUCT& item) {
    RECT rc = item.rcItem;
    int width = rc.right - rc.left;
    HIGHCONTRASTW contrast{sizeof(contrast)};
    bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                (contrast.dwFlags & HCF_HIGHCONTRASTON);
    if (high) {
        FillRect(item.hDC, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        TRIVERTEX band[2] = {{rc.left, rc.top, 0x1C00, 0x3E00, 0x7400, 0xFF00},
                             {rc.right, rc.bottom, 0x5A00, 0x8F00, 0xD000, 0xFF00}};
        GRADIENT_RECT whole{0, 1};
        GdiGradientFill(item.hDC, band, 2, &whole, 1, GRADIENT_FILL_RECT_V);
    }

    int margin = width / 8;
    int size = width - 2 * margin;
    if (!logo_ || logoSize_ != size) {
        logo_ = ui::pictures::CreatePictureIcon(ui::pictures::Picture::Logo, size);
        logoSize_ = size;
    }
    DrawIconEx(item.hDC, rc.left + margin, rc.top + margin, logo_.get(), size, size, 0, nullptr, DI_NORMAL);

    HGDIOBJ old = SelectObject(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, high ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0xFF, 0xFF, 0xFF));
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    int x = rc.left + (width - metrics.tmHeight) / 2;
    TextOutW(item.hDC, x, rc.bottom - margin, ui::kProgramTitle, lstrlenW(ui::kProgramTitle));
    SelectObject(item.hDC, old);
}

} // namespace velmora::app
