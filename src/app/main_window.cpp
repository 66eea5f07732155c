#include "app/main_window.h"

#include "app/control_table.h"
#include "app/global.h"
#include "app/icq_number.h"
#include "app/main_window_ids.h"
#include "app/pictures_win.h"
#include "app/shared.h"
#include "app/wait_window.h"
#include "app/window_position.h"
#include "client/icq_lite.h"
#include "client/starter.h"
#include "client/status.h"
#include "errors/show_error_window.h"
#include "errors/trap.h"
#include "language/language.h"
#include "language/translate.h"
#include "platform/dpi.h"
#include "settings/settings.h"
#include "textfiles/array_ops.h"
#include "update/check_for_updates.h"

#include <commctrl.h>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace velmora::app {
namespace {

using platform::TwipsToPx;
using K = ControlKind;

// The window's controls in tab order. The first eight lie in the frame; their places are
// relative to it. The logo is a banner down the right-hand side.
const std::array<ControlRow, 13> kControls{{
    {IDC_FRA_START_USER, K::Frame, L"fraStartUser", nullptr, L"", 120, 120, 2895, 3135, 0},
    {IDC_LBL_USER, K::Label, L"lblUser", L"User", L"Benutzer", 120, 360, 975, 255, IDC_FRA_START_USER},
    {IDC_COMB_USER, K::EditCombo, L"combUser", nullptr, L"", 1080, 360, 1695, 315, IDC_FRA_START_USER},
    {IDC_LBL_STATUS, K::Label, L"lblStatus", L"Status", L"Status", 120, 720, 975, 255, IDC_FRA_START_USER},
    {IDC_IMGCOMB_STATUS, K::ImageCombo, L"imgcombStatus", nullptr, L"", 1080, 720, 1695, 330,
     IDC_FRA_START_USER},
    {IDC_LBL_STATUS_TEXT, K::Label, L"lblStatusText", L"Message", L"Nachricht", 120, 1200, 2655, 255,
     IDC_FRA_START_USER},
    {IDC_TXT_STATUS_TEXT, K::Edit, L"txtStatusText", nullptr, L"", 120, 1440, 2655, 855, IDC_FRA_START_USER},
    {IDC_LBL_NOTIFY, K::Label, L"lblNotify",
     L"Sorry, if your last status is invisible then you must start invisible again",
     L"Leider: Wenn Ihr letzter Status unsichtbar war, müssen Sie wieder unsichtbar starten", 120, 1440, 2655,
     975, IDC_FRA_START_USER},
    {IDC_CBTN_START, K::DefaultButton, L"cbtnStart", L"Start ICQ Lite", L"ICQ Lite starten", 120, 2400, 2655,
     555, IDC_FRA_START_USER},
    {IDC_CBTN_SETTINGS, K::PictureButton, L"cbtnSettings", L"Settings", L"Einstellungen", 120, 3360, 2895,
     615, 0},
    {IDC_CBTN_NEW_VERSION, K::PictureButton, L"cbtnNewVersion", L"Search for Updates", L"Nach Updates suchen",
     120, 4080, 2895, 615, 0},
    {IDC_CBTN_INFO, K::PictureButton, L"cbtnInfo", L"Show Info", L"Info anzeigen", 120, 4800, 2895, 555, 0},
    {IDC_IMG_LOGO, K::Picture, L"imgLogo", nullptr, nullptr, 3135, 120, 840, 5235, 0},
}};
constexpr int kClientWidth = 4095, kClientHeight = 5475;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

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

// Posted once the window is shown: makes the tooltips.
constexpr UINT kCreateTooltips = WM_APP + 1;

struct PendingTooltip {
    int id;
    std::wstring text;
};

struct State {
    HWND hwnd = nullptr;
    UINT dpi = 96;
    platform::UniqueGdiObject font;
    platform::UniqueGdiObject logoFont;
    platform::UniqueImageList statusImages;
    platform::UniqueIcon bigIcon, smallIcon;
    platform::UniqueIcon logo; // the banner's picture, at logoSize pixels
    int logoSize = 0;
    std::array<platform::UniqueImageList, kButtonPictures.size()> buttonImages;
    HWND tooltip = nullptr;
    // Tips set before the tooltip window exists.
    std::vector<PendingTooltip> pendingTooltips;
    HWND lastFocus = nullptr;         // the control that had the focus when the window was left
    std::unique_ptr<Starter> starter; // created on first use, kept while the window lives
    // The translated status names, in the status table's order.
    std::array<std::wstring, status::kStatuses.size()> statusNames;
};
State g;

HWND Item(int id) {
    return GetDlgItem(g.hwnd, id);
}

std::wstring WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

Starter& TheStarter() {
    if (!g.starter)
        g.starter = std::make_unique<Starter>();
    return *g.starter;
}

// The user whose data the window shows: the typed number in the form the launcher writes it,
// or the text as it stands when it is no number at all.
std::wstring UserForLookup() {
    std::wstring text = WindowText(Item(IDC_COMB_USER));
    return CanonicalIcqNumber(text).value_or(text);
}

// The status code of the selected item; nothing when no item is selected.
std::optional<int32_t> SelectedStatus() {
    HWND list = Item(IDC_IMGCOMB_STATUS);
    int index = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    if (index < 0)
        return std::nullopt;
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    if (!SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return std::nullopt;
    return static_cast<int32_t>(item.lParam);
}

// ---- pictures, fonts and layout for the window's DPI ----

// New pictures are handed to the controls before the old ones are destroyed.
void ApplyPictures() {
    int small = MulDiv(16, static_cast<int>(g.dpi), 96);
    auto smallIcon =
        pictures::CreatePictureIcon(pictures::Picture::Logo, GetSystemMetricsForDpi(SM_CXSMICON, g.dpi));
    auto bigIcon =
        pictures::CreatePictureIcon(pictures::Picture::Logo, GetSystemMetricsForDpi(SM_CXICON, g.dpi));
    SendMessageW(g.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    SendMessageW(g.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    g.smallIcon = std::move(smallIcon);
    g.bigIcon = std::move(bigIcon);

    auto statusImages = pictures::CreateStatusImageList(small);
    SendMessageW(Item(IDC_IMGCOMB_STATUS), CBEM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(statusImages.get()));
    g.statusImages = std::move(statusImages);
    for (size_t i = 0; i < kButtonPictures.size(); ++i) {
        auto images = pictures::CreateButtonImageList(kButtonPictures[i].picture, small);
        BUTTON_IMAGELIST info{
            images.get(), {MulDiv(6, static_cast<int>(g.dpi), 96), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        SendMessageW(Item(kButtonPictures[i].id), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&info));
        g.buttonImages[i] = std::move(images);
    }
}

void ApplyFonts() {
    auto font = platform::CreateMessageFont(g.dpi);
    platform::SetFontDeep(g.hwnd, static_cast<HFONT>(font.get()));
    g.font = std::move(font);
    LOGFONTW lf{};
    GetObjectW(g.font.get(), sizeof(lf), &lf);
    lf.lfHeight = -TwipsToPx(420, g.dpi);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = 900; // reads bottom to top
    g.logoFont.reset(CreateFontIndirectW(&lf));
}

SIZE WindowSizeFor(UINT dpi) {
    RECT rc{0, 0, TwipsToPx(kClientWidth, dpi), TwipsToPx(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&rc, kStyle, FALSE, kExStyle, dpi);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// The banner: a dark-to-light blue band with the logo at the top and the program's name
// running up the band. The logo picture is drawn once per size, not on every paint.
void DrawLogo(const DRAWITEMSTRUCT& item) {
    RECT rc = item.rcItem;
    int width = rc.right - rc.left;
    TRIVERTEX band[2] = {{rc.left, rc.top, 0x1C00, 0x3E00, 0x7400, 0xFF00},
                         {rc.right, rc.bottom, 0x5A00, 0x8F00, 0xD000, 0xFF00}};
    GRADIENT_RECT whole{0, 1};
    GdiGradientFill(item.hDC, band, 2, &whole, 1, GRADIENT_FILL_RECT_V);

    int margin = width / 8;
    int size = width - 2 * margin;
    if (!g.logo || g.logoSize != size) {
        g.logo = pictures::CreatePictureIcon(pictures::Picture::Logo, size);
        g.logoSize = size;
    }
    DrawIconEx(item.hDC, rc.left + margin, rc.top + margin, g.logo.get(), size, size, 0, nullptr, DI_NORMAL);

    HGDIOBJ old = SelectObject(item.hDC, g.logoFont.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(0xFF, 0xFF, 0xFF));
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    int x = rc.left + (width - metrics.tmHeight) / 2;
    int y = rc.bottom - margin;
    TextOutW(item.hDC, x, y, kMainWindowTitle, lstrlenW(kMainWindowTitle));
    SelectObject(item.hDC, old);
}

void AddTooltip(HWND control, const std::wstring& text) {
    TTTOOLINFOW info{sizeof(info)};
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = g.hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(g.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(g.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// The tip shows wherever the mouse is over the control, its inner parts included.
void AddTooltips(HWND control, const std::wstring& text) {
    AddTooltip(control, text);
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        AddTooltip(child, text);
        for (HWND inner = GetWindow(child, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT))
            AddTooltip(inner, text);
    }
}

// A tip is only ever seen once the mouse has rested on a control, so the tooltip window is made
// after the window is on screen (kCreateTooltips): that is a window and its tools fewer
// between the program's start and its first picture. Until then the text waits here.
void SetTooltip(int id, std::wstring text) {
    if (g.tooltip)
        AddTooltips(Item(id), text);
    else
        g.pendingTooltips.push_back({id, std::move(text)});
}

void CreateTooltips() {
    if (g.tooltip || !g.hwnd)
        return;
    g.tooltip =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, g.hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const PendingTooltip& tip : g.pendingTooltips)
        AddTooltips(Item(tip.id), tip.text);
    g.pendingTooltips.clear();
}

wchar_t UserDecimalSeparator() {
    wchar_t separator[8] = L".";
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
        return L'.';
    return separator[0];
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{sizeof(info)};
    if (GetMonitorInfoW(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<PixelRect>*>(list);
        PixelRect area{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
        // The primary monitor first: the window is centred on it.
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            areas.insert(areas.begin(), area);
        else
            areas.push_back(area);
    }
    return TRUE;
}

std::vector<PixelRect> WorkAreas() {
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// ---- the window's procedures ----

void StatusChange() {
    err::Trap(L"frmMain.StatusChange", err::NoArgs(), [&] {
        std::wstring suffix = L" " + Translate(L"Message");
        HWND list = Item(IDC_IMGCOMB_STATUS);
        ShowWindow(Item(IDC_LBL_NOTIFY), IsWindowEnabled(list) ? SW_HIDE : SW_SHOW);
        ShowWindow(Item(IDC_LBL_STATUS_TEXT), SW_SHOW);
        ShowWindow(Item(IDC_TXT_STATUS_TEXT), SW_SHOW);

        const status::StatusInfo* selected = nullptr;
        size_t row = 0;
        if (auto code = SelectedStatus()) {
            for (; row < status::kStatuses.size(); ++row)
                if (status::kStatuses[row].code == *code) {
                    selected = &status::kStatuses[row];
                    break;
                }
        }
        if (!selected || !selected->HasMessage()) {
            ShowWindow(Item(IDC_LBL_STATUS_TEXT), SW_HIDE);
            ShowWindow(Item(IDC_TXT_STATUS_TEXT), SW_HIDE);
            return;
        }
        SetWindowTextW(Item(IDC_LBL_STATUS_TEXT), (g.statusNames[row] + suffix).c_str());
        std::wstring message = TheStarter().GetStatusText(UserForLookup(), selected->code).AsText();
        SetWindowTextW(Item(IDC_TXT_STATUS_TEXT), message.c_str());
    });
}

void ShowUserStatus() {
    err::Trap(L"frmMain.ShowUserStatus", err::NoArgs(), [&] {
        int32_t code = icqlite::GetLastStatus(UserForLookup());
        HWND list = Item(IDC_IMGCOMB_STATUS);
        int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i) {
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_LPARAM;
            item.iItem = i;
            if (SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) && item.lParam == code)
                found = i;
        }
        // A code the list does not know: the selection stays as it was and the user is told.
        if (found < 0)
            err::Raise(35601, L"Element not found (status list key \"" + status::ListKey(code) + L"\")");
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        EnableWindow(list, code != status::kInvisible);
        StatusChange();
    });
}

void FillStatus() {
    err::Trap(L"frmMain.FillStatus", err::NoArgs(), [&] {
        for (size_t i = 0; i < status::kStatuses.size(); ++i)
            g.statusNames[i] = Translate(status::kStatuses[i].name);
        HWND list = Item(IDC_IMGCOMB_STATUS);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < status::kStatuses.size(); ++i) {
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
            item.iItem = static_cast<INT_PTR>(i);
            item.pszText = g.statusNames[i].data();
            item.iImage = item.iSelectedImage = status::kStatuses[i].picture - 1;
            item.lParam = status::kStatuses[i].code;
            if (SendMessageW(list, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
                err::Raise(err::ERR_INTERNAL,
                           L"The status list did not take the item \"" + g.statusNames[i] + L"\"");
        }
    });
}

void ReadUsers() {
    err::Trap(L"frmMain.ReadUsers", err::NoArgs(), [&] {
        std::vector<std::wstring> users = icqlite::GetUsers();
        int last = ArrayOps().Count(users);
        HWND combo = Item(IDC_COMB_USER);
        for (int i = 0; i <= last; ++i)
            SendMessageW(combo, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(users[static_cast<size_t>(i)].c_str()));
        SetWindowTextW(combo, icqlite::LastUser().c_str());
        ShowUserStatus();
    });
}

void PlaceWindow() {
    const Settings* settings = Shared().settings;
    std::wstring left = settings ? settings->ReadValue(L"frmMain.Left") : std::wstring();
    std::wstring top = settings ? settings->ReadValue(L"frmMain.Top") : std::wstring();
    SIZE size = WindowSizeFor(g.dpi);
    PixelPoint at =
        ChooseOpenPosition(left, top, UserDecimalSeparator(), g.dpi, size.cx, size.cy,
                           GetSystemMetricsForDpi(SM_CYCAPTION, g.dpi), TwipsToPx(720, g.dpi), WorkAreas());
    SetWindowPos(g.hwnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form_Load() {
    err::EventTrap(L"frmMain.Form_Load", err::NoArgs(), [&] {
        TranslateControls(g.hwnd);
        PlaceWindow();
        SetTooltip(IDC_COMB_USER, Translate(L"Choose or enter an ICQ number"));
        SetTooltip(IDC_IMGCOMB_STATUS, Translate(L"Choose a Status"));
        FillStatus();
        ReadUsers();
    });
}

void combUser_Click() {
    err::EventTrap(L"frmMain.combUser_Click", err::NoArgs(), [&] {
        // The box takes the chosen entry's text only after this notification: take it now.
        HWND combo = Item(IDC_COMB_USER);
        int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        if (index >= 0) {
            int length =
                static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
            std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(text.data()));
            text.resize(wcslen(text.c_str()));
            SetWindowTextW(combo, text.c_str());
        }
        ShowUserStatus();
    });
}

void imgcombStatus_Click() {
    err::EventTrap(L"frmMain.imgcombStatus_Click", err::NoArgs(), [&] { StatusChange(); });
}

// Their windows come later; the buttons are already there and translated.
void cbtnSettings_Click() {
    err::EventTrap(L"frmMain.cbtnSettings_Click", err::NoArgs(), [&] {});
}
void cbtnInfo_Click() {
    err::EventTrap(L"frmMain.cbtnInfo_Click", err::NoArgs(), [&] {});
}
void cbtnNewVersion_Click() {
    err::EventTrap(L"frmMain.cbtnNewVersion_Click", err::NoArgs(), [&] { update::CheckForUpdates(g.hwnd); });
}

// While the start runs the window takes no input and the wait window shows. Whatever way the
// start ends, the wait window goes and the window takes input again, before any error report
// is shown.
class StartingState {
public:
    explicit StartingState(HWND main) : main_(main) { EnableWindow(main_, FALSE); }
    ~StartingState() {
        CloseWaitWindow();
        EnableWindow(main_, TRUE);
        SetForegroundWindow(main_);
    }
    StartingState(const StartingState&) = delete;
    StartingState& operator=(const StartingState&) = delete;

private:
    HWND main_;
};

void cbtnStart_Click() {
    err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] {
        std::wstring typed = WindowText(Item(IDC_COMB_USER));
        if (typed.empty()) {
            MessageBoxW(g.hwnd, Translate(L"You have to enter a ICQ Number first").c_str(), kMainWindowTitle,
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
        Starter& starter = TheStarter();
        std::optional<std::wstring> number = CanonicalIcqNumber(typed);
        if (!number) {
            MessageBoxW(g.hwnd, Translate(L"The ICQ number is invalid").c_str(), kMainWindowTitle,
                        MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        bool closeAfter = false;
        {
            StartingState starting(g.hwnd);
            starter.SetUser(*number);
            std::optional<int32_t> code = SelectedStatus();
            if (!code)
                err::Raise(91, L"Object variable or With block variable not set (no status is selected)");
            starter.SetStatus(*code);
            starter.SetStatusText(WindowText(Item(IDC_TXT_STATUS_TEXT)));
            ShowWaitWindow(g.hwnd);
            std::wstring path = icqlite::ExePath();
            bool direct = Shared().settings->DirectLogin();
            starter.StartICQ(path, direct);
            closeAfter = Shared().settings->CloseAfter();
        }
        if (closeAfter)
            PostMessageW(g.hwnd, WM_CLOSE, 0, 0);
    });
}

void Form_Unload(HWND hwnd) {
    err::EventTrap(L"frmMain.Form_Unload(Cancel)", err::Args(int16_t{0}), [&] {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        WINDOWPLACEMENT placement{sizeof(placement)};
        if (IsIconic(hwnd) && GetWindowPlacement(hwnd, &placement)) {
            // Minimised: where it will be restored to, in workspace coordinates.
            MONITORINFO info{sizeof(info)};
            GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
            rc.left = placement.rcNormalPosition.left + info.rcWork.left - info.rcMonitor.left;
            rc.top = placement.rcNormalPosition.top + info.rcWork.top - info.rcMonitor.top;
        }
        UINT dpi = platform::WindowDpi(hwnd);
        wchar_t separator = UserDecimalSeparator();
        Shared().settings->WriteValue(L"frmMain.Left", FormatTwips(PixelsToTwips(rc.left, dpi), separator));
        Shared().settings->WriteValue(L"frmMain.Top", FormatTwips(PixelsToTwips(rc.top, dpi), separator));
        Dispose();
    });
    // Closing is never cancelled.
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    PostQuitMessage(0);
}

void OnDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested) {
    g.dpi = dpi;
    ApplyFonts();
    LayoutControls(hwnd, kControls, dpi);
    ApplyPictures();
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void OnCommand(int id, int code) {
    switch (id) {
    case IDC_COMB_USER:
        if (code == CBN_SELCHANGE)
            combUser_Click();
        break;
    case IDC_IMGCOMB_STATUS:
        if (code == CBN_SELCHANGE)
            imgcombStatus_Click();
        break;
    case IDC_CBTN_START:
        if (code == BN_CLICKED)
            cbtnStart_Click();
        break;
    case IDC_CBTN_SETTINGS:
        if (code == BN_CLICKED)
            cbtnSettings_Click();
        break;
    case IDC_CBTN_NEW_VERSION:
        if (code == BN_CLICKED)
            cbtnNewVersion_Click();
        break;
    case IDC_CBTN_INFO:
        if (code == BN_CLICKED)
            cbtnInfo_Click();
        break;
    }
    // IDCANCEL (Esc) has nothing to cancel here and is ignored.
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDC_CBTN_START, DC_HASDEFID);
    case WM_DRAWITEM:
        if (wp == IDC_IMG_LOGO) {
            DrawLogo(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        break;
    case WM_DPICHANGED:
        OnDpiChanged(hwnd, HIWORD(wp), *reinterpret_cast<RECT*>(lp));
        return 0;
    case WM_ACTIVATE:
        // As in a dialog: coming back, the focus returns to the control that had it (at first,
        // the user box).
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                g.lastFocus = focus;
        } else if (!IsIconic(hwnd)) {
            HWND focus = g.lastFocus && IsChild(hwnd, g.lastFocus) && IsWindowVisible(g.lastFocus) &&
                                 IsWindowEnabled(g.lastFocus)
                             ? g.lastFocus
                             : GetNextDlgTabItem(hwnd, nullptr, FALSE);
            SetFocus(focus);
            return 0;
        }
        break;
    case kCreateTooltips:
        CreateTooltips();
        return 0;
    case WM_CLOSE:
        Form_Unload(hwnd);
        return 0;
    case WM_DESTROY:
        if (hwnd == g.hwnd) {
            g.hwnd = nullptr;
            g.tooltip = nullptr;
            g.starter.reset();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

void MainWindow::Show() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    RegisterClassExW(&wc);
    g.hwnd =
        CreateWindowExW(kExStyle, kMainWindowClass, kMainWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!g.hwnd)
        err::RaiseSystem(err::ERR_INTERNAL, L"The main window could not be created", GetLastError());
    g.dpi = platform::WindowDpi(g.hwnd);
    CreateControls(g.hwnd, kControls, g.dpi);
    ApplyFonts();
    ApplyPictures();
    Form_Load();
    ShowWindow(g.hwnd, SW_SHOWNORMAL);
    UpdateWindow(g.hwnd);
    PostMessageW(g.hwnd, kCreateTooltips, 0, 0);
}

bool MainWindow::Exists() {
    return g.hwnd != nullptr;
}
HWND MainWindow::Handle() {
    return g.hwnd;
}

bool MainWindow::PreTranslate(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!root || (root != g.hwnd && root != err::ErrorWindow()))
        return false;
    return IsDialogMessageW(root, &msg) != FALSE;
}

} // namespace velmora::app
