#include "app/wait_window.h"

#include "app/main_window_ids.h"
#include "ui/pictures_win.h"
#include "ui/window.h"

#include <algorithm>
#include <array>

namespace velmora::app {
namespace {

using ui::Kind;

constexpr std::array<ui::Control, 2> kControls{{
    // id              kind           key                                        x    y    w     h
    {IDC_WAIT_PICTURE, Kind::Picture, nullptr, 120, 120, 615, 615},
    {IDC_WAIT_TEXT, Kind::Label, L"One Moment please, ICQ Lite is starting", 840, 120, 2535, 615},
}};
constexpr ui::WindowDef kDef{
    kWaitWindowClass, L"frmWait",       L"", false, 3495, 855, ui::kBareLook, kControls, 0,
    ui::kWaitCursor,  SW_SHOWNOACTIVATE};

class WaitWindow : public ui::Window {
public:
    WaitWindow() : Window(kDef) {}

private:
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
        int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        int size = std::min(w, h);
        ui::pictures::DrawPicture(item.hDC, ui::pictures::Picture::Wait, item.rcItem.left + (w - size) / 2,
                                  item.rcItem.top + (h - size) / 2, size);
        return true;
    }
};

} // namespace

void ShowWaitWindow(HWND owner) {
    CloseWaitWindow();
    ui::Open<WaitWindow>(owner);
}

void CloseWaitWindow() {
    if (auto* window = ui::FindOpen<WaitWindow>())
        window->End();
}

} // namespace velmora::app
