#include "info/info_window.h"

#include "build_settings.h"
#include "errors/trap.h"
#include "info/links.h"
#include "language/translate.h"
#include "platform/dpi.h"
#include "platform/version_info.h"
#include "platform/shell_open.h"
#include "ui/pictures_win.h"
#include "ui/window.h"

#include <commctrl.h>
#include <array>

namespace velmora::info {
namespace {

using ui::Kind;
using ui::pictures::Picture;

// The buttons are as wide as the longest caption of every shipped language ("Agradecimientos...").
constexpr std::array<ui::Control, 10> kInfoControls{{
    // id               kind               key             x     y     w     h
    {IDC_INFO_LOGO, Kind::Picture, nullptr, 120, 180, 600, 600},
    {IDC_INFO_TITLE, Kind::Label, nullptr, 840, 240, 3495, 435},
    {IDC_INFO_VERSION, Kind::Label, nullptr, 360, 840, 3975, 255},
    {IDC_INFO_COPYRIGHT, Kind::Label, nullptr, 345, 1200, 4125, 240},
    {IDC_INFO_WEBSITE, Kind::Link, nullptr, 1200, 1680, 2760, 240},
    {IDC_INFO_EMAIL, Kind::Link, nullptr, 1080, 2040, 3240, 240},
    {IDC_INFO_FLOWER, Kind::Picture, nullptr, 240, 1620, 660, 660},
    {IDC_INFO_DONATE, Kind::Button, L"Donate", 120, 2640, 1695, 495},
    {IDC_INFO_THANKS, Kind::Button, L"Thanks to...", 1920, 2640, 1695, 495},
    {IDOK, Kind::DefaultButton, L"Ok", 3720, 2640, 1695, 495},
}};
constexpr ui::WindowDef kInfoDef{kInfoWindowClass, L"frmInfo",    L"Info", true, 5535, 3255,
                                 ui::kDialogLook,  kInfoControls, IDOK};

constexpr std::array<ui::Control, 3> kThanksControls{{
    {IDC_THANKS_TEXT, Kind::Label, nullptr, 120, 240, 4095, 1215},
    {IDC_THANKS_FLOWER, Kind::Picture, nullptr, 3360, 1560, 660, 660},
    {IDOK, Kind::DefaultButton, L"Ok", 1440, 1680, 1455, 495},
}};
constexpr ui::WindowDef kThanksDef{kThanksWindowClass, L"frmThanks",    L"", false, 4335, 2355,
                                   ui::kDialogLook,    kThanksControls, IDOK};

// The pictures keep their own look: painted on the window's background at the control's size.
bool DrawPictureItem(const DRAWITEMSTRUCT& item, Picture picture) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    int size = std::min(item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top);
    ui::pictures::DrawPicture(item.hDC, picture, item.rcItem.left, item.rcItem.top, size);
    return true;
}

// The face the system's dialogs use, at a size of the window's own.
platform::UniqueGdiObject TextFont(UINT dpi, double points, bool bold) {
    LOGFONTW base{};
    platform::UniqueGdiObject message = platform::CreateMessageFont(dpi);
    GetObjectW(message.get(), sizeof(base), &base);
    return platform::CreatePointFont(base.lfFaceName, points, dpi, bold);
}

class ThanksWindow : public ui::Window {
public:
    explicit ThanksWindow(std::wstring caption) : Window(kThanksDef), caption_(std::move(caption)) {}

private:
    void OnLoad() override {
        SetWindowTextW(Handle(), ui::WithoutMnemonics(caption_).c_str());
        std::wstring text =
            Translate(L"Thanks for the Hebrew language file to") + L" " + build::kHebrewTranslator;
        SetWindowTextW(Item(IDC_THANKS_TEXT), text.c_str());
        OnRelayout();
    }
    void OnRelayout() override {
        font_ = TextFont(Dpi(), 9.75, true);
        SendMessageW(Item(IDC_THANKS_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override { return DrawPictureItem(item, Picture::Flower); }
    void OnCommand(int id, int) override {
        if (id == IDOK)
            err::EventTrap(L"frmThanks.cbtnOk_Click", err::NoArgs(), [&] { End(); });
        else if (id == IDCANCEL)
            End();
    }

    std::wstring caption_;
    platform::UniqueGdiObject font_;
};

class InfoWindow : public ui::Window {
public:
    InfoWindow() : Window(kInfoDef) {}

private:
    void OnLoad() override {
        OnRelayout();
        err::EventTrap(L"frmInfo.Form_Load", err::NoArgs(), [&] {
            SetWindowTextW(Item(IDC_INFO_TITLE), ui::kProgramTitle);
            auto own = platform::RunningExeVersion();
            std::wstring version = L"Version " + (own ? platform::VersionText(*own) : L"?");
            SetWindowTextW(Item(IDC_INFO_VERSION), version.c_str());
            SetWindowTextW(Item(IDC_INFO_COPYRIGHT), build::kMakerLine);
            SetWindowTextW(Item(IDC_INFO_WEBSITE),
                           (std::wstring(L"<a>") + build::kWebsite + L"</a>").c_str());
            SetWindowTextW(Item(IDC_INFO_EMAIL),
                           (std::wstring(L"<a>") + build::kSupportAddress + L"</a>").c_str());
        });
    }

    void OnRelayout() override {
        titleFont_ = platform::CreatePointFont(L"Arial", 18, Dpi(), true);
        textFont_ = TextFont(Dpi(), 9.75, false);
        boldFont_ = TextFont(Dpi(), 9.75, true);
        auto set = [&](int id, const platform::UniqueGdiObject& font) {
            SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        };
        set(IDC_INFO_TITLE, titleFont_);
        set(IDC_INFO_VERSION, textFont_);
        for (int id : {IDC_INFO_COPYRIGHT, IDC_INFO_WEBSITE, IDC_INFO_EMAIL})
            set(id, boldFont_);
    }

    // The title in green and the maker's line in light blue; in a high-contrast theme the system's
    // own text colour.
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_CTLCOLORSTATIC)
            return std::nullopt;
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        HDC dc = reinterpret_cast<HDC>(wp);
        HIGHCONTRASTW contrast{sizeof(contrast)};
        bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON);
        COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
        if (!high && id == IDC_INFO_TITLE)
            colour = RGB(0x00, 0xC0, 0x00);
        else if (!high && id == IDC_INFO_COPYRIGHT)
            colour = RGB(0x80, 0x80, 0xFF);
        SetTextColor(dc, colour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }

    bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
        return DrawPictureItem(item, item.CtlID == IDC_INFO_LOGO ? Picture::Logo : Picture::Flower);
    }

    LRESULT OnNotify(const NMHDR& header) override {
        if (header.code != NM_CLICK && header.code != NM_RETURN)
            return 0;
        if (header.idFrom == IDC_INFO_WEBSITE)
            err::EventTrap(L"frmInfo.lblWebsite_Click", err::NoArgs(),
                           [&] { platform::OpenInShell(WebsiteUrl(build::kWebsite)); });
        else if (header.idFrom == IDC_INFO_EMAIL) // the fixed address, whatever the label shows
            err::EventTrap(L"frmInfo.lblEMail_Click", err::NoArgs(),
                           [&] { platform::OpenInShell(MailUrl(build::kSupportAddress)); });
        return 0;
    }

    void OnCommand(int id, int code) override {
        if (code != BN_CLICKED && id != IDCANCEL)
            return;
        switch (id) {
        case IDC_INFO_DONATE:
            err::EventTrap(L"frmInfo.cbtnDonate_Click", err::NoArgs(), [&] {
                platform::OpenInShell(DonationUrl(build::kPaymentHost, build::kReceivingAddress));
            });
            break;
        case IDC_INFO_THANKS:
            // Whatever fails in the thanks window is shown as a report; this window stays open.
            err::EventTrap(L"frmInfo.cbtnThanks_Click", err::NoArgs(),
                           [&] { ShowThanks(ui::Text(Item(IDC_INFO_THANKS)), Handle()); });
            break;
        case IDOK:
            err::EventTrap(L"frmInfo.cbtnOk_Click", err::NoArgs(), [&] { End(); });
            break;
        case IDCANCEL: // Esc and the close box
            End();
            break;
        }
    }

    platform::UniqueGdiObject titleFont_, textFont_, boldFont_;
};

} // namespace

void ShowInfo(HWND owner) {
    ui::RunModal<InfoWindow>(owner);
}

void ShowThanks(const std::wstring& caption, HWND parent) {
    err::Trap(L"frmThanks.ShowThanks(strCaption,frmParent)",
              err::Args(caption, err::ObjectRef{parent ? L"frmInfo" : L""}),
              [&] { ui::RunModal<ThanksWindow>(parent, caption); });
}

} // namespace velmora::info
