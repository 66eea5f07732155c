#include "app/wait_window.h"

#include "app/main_window_ids.h"
#include "ui/pictures_win.h"
#include "ui/window.h"

#include <algorithm>
#include <array>

namespace velmora::app {
namespace {

using ui::Kind;

constexpr std::array<ui::Control, 3> kControls{{
    // id              kind           key                                        x     y     w     h
    {IDC_WAIT_PICTURE, Kind::Picture, nullptr, 120, 120, 615, 615},
    {IDC_WAIT_TEXT, Kind::Label, L"One Moment please, ICQ Lite is starting", 840, 120, 2535, 615},
    {IDC_WAIT_CANCEL, Kind::Button, L"Cancel", 2160, 855, 1215, 375},
}};
constexpr ui::WindowDef kDef{
    kWaitWindowClass, L"frmWait",       L"", false, 3495, 1350, ui::kBareLook, kControls, 0,
    ui::kWaitCursor,  SW_SHOWNOACTIVATE};

class WaitWindow : public ui::Window {
public:
    WaitWindow() : Window(kDef) {}
    bool Cancelled() const { return cancelled_; }

private:
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
        int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        int size = std::min(w, h);
        ui::pictures::DrawPicture(item.hDC, ui::pictures::Picture::Wait, item.rcItem.left + (w - size) / 2,
                                  item.rcItem.top + (h - size) / 2, size);
        return true;
    }
    // The button or Esc: the wait is given up; the window goes when the start is over.
    void OnCommand(int id, int) override {
        if (id != IDCANCEL || cancelled_)
            return;
        cancelled_ = true;
        EnableWindow(Item(IDC_WAIT_CANCEL), FALSE);
    }
    // Only the start closes it.
    void OnClose() override {}

    bool cancelled_ = false;
};

} // namespace

void ShowWaitWindow(HWND owner) {
    CloseWaitWindow();
    WaitWindow* window = ui::Open<WaitWindow>(owner);
    // The program's own window is in front: the wait window takes the focus from it. Otherwise the
    // user is elsewhere, and only a start without a window (a shortcut just clicked) may ask for
    // the foreground; the system decides.
    if (window && (owner ? GetForegroundWindow() == owner : true))
        SetForegroundWindow(window->Handle());
}

void CloseWaitWindow() {
    if (auto* window = ui::FindOpen<WaitWindow>())
        window->End();
}

bool WaitWindowCancelled() {
    auto* window = ui::FindOpen<WaitWindow>();
    return window && window->Cancelled();
}

} // namespace velmora::app
