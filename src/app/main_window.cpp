#include "app/main_window.h"

#include "app/global.h"
#include "app/main_window_ids.h"
#include "app/shared.h"
#include "app/single_instance.h"
#include "app/start_action.h"
#include "app/status_list.h"
#include "app/window_place.h"
#include "client/icq_lite.h"
#include "client/icq_number.h"
#include "errors/trap.h"
#include "info/info_window.h"
#include "language/translate.h"
#include "platform/dpi.h"
#include "platform/module.h"
#include "platform/shell_link.h"
#include "app/error_presenter.h"
#include "settings/settings.h"
#include "settings/settings_window.h"
#include "textfiles/array_ops.h"
#include "ui/busy.h"
#include "update/check_for_updates.h"

#include <commctrl.h>

namespace velmora::app {
namespace {

using ui::Kind;

// The window's controls in tab order. The first eight lie in the frame; their places are
// relative to it. The logo is a banner down the right-hand side. The labels are as wide as the
// longest of every shipped language ("Пользователь"), the lists as wide as its longest status name
// with its picture ("Disponible pour discuter").
constexpr std::array<ui::Control, 13> kControls{{
    // id                 kind                key                         x     y     w     h   frame
    {IDC_FRA_START_USER, Kind::Frame, nullptr, 120, 120, 4410, 3135},
    {IDC_LBL_USER, Kind::Label, L"User", 120, 360, 1275, 255, IDC_FRA_START_USER},
    {IDC_COMB_USER, Kind::EditCombo, nullptr, 1440, 360, 2850, 315, IDC_FRA_START_USER},
    {IDC_LBL_STATUS, Kind::Label, L"Status", 120, 720, 1275, 255, IDC_FRA_START_USER},
    {IDC_IMGCOMB_STATUS, Kind::ImageCombo, nullptr, 1440, 720, 2850, 330, IDC_FRA_START_USER},
    {IDC_LBL_STATUS_TEXT, Kind::Label, L"Message", 120, 1200, 4170, 255, IDC_FRA_START_USER},
    {IDC_TXT_STATUS_TEXT, Kind::Edit, nullptr, 120, 1440, 4170, 855, IDC_FRA_START_USER},
    {IDC_LBL_NOTIFY, Kind::Label,
     L"Sorry, if your last status is invisible then you must start invisible again", 120, 1440, 4170, 975,
     IDC_FRA_START_USER},
    {IDC_CBTN_START, Kind::DefaultSplit, L"Start ICQ Lite", 120, 2400, 4170, 555, IDC_FRA_START_USER},
    {IDC_CBTN_SETTINGS, Kind::Button, L"Settings", 120, 3360, 4410, 615},
    {IDC_CBTN_NEW_VERSION, Kind::Button, L"Search for Updates", 120, 4080, 4410, 615},
    {IDC_CBTN_INFO, Kind::Button, L"Show Info", 120, 4800, 4410, 555},
    {IDC_IMG_LOGO, Kind::Picture, nullptr, 4650, 120, 840, 5235},
}};
constexpr ui::WindowDef kDef{kMainWindowClass, L"frmMain", kMainWindowTitle, false, 5610, 5475,
                             ui::kMainLook,    kControls,  IDC_CBTN_START};

// The longest status message the box takes: the edit control slows down badly with very long
// texts (under Wine a stored message of 100,000 characters kept the program busy for minutes).
constexpr int kMaxMessageLength = 4096;

// Posted once the window is shown: makes the tooltips.
constexpr UINT kCreateTooltips = WM_APP + 1;

// Alt+Down on the start button opens its menu, as on any split button.
LRESULT CALLBACK StartButtonKeys(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) noexcept {
    if (msg == WM_SYSKEYDOWN && wp == VK_DOWN) {
        NMBCDROPDOWN note{{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), BCN_DROPDOWN}};
        GetClientRect(hwnd, &note.rcButton);
        SendMessageW(GetParent(hwnd), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
        return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, StartButtonKeys, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

MainWindow::MainWindow() : Window(kDef) {}
MainWindow::~MainWindow() = default;

MainWindow* MainWindow::Find() {
    return ui::FindOpen<MainWindow>();
}

void MainWindow::Show() {
    MainWindow* window = ui::Open<MainWindow>(nullptr);
    if (!window)
        err::RaiseSystem(err::ERR_INTERNAL, L"The main window could not be created", GetLastError());
    PostMessageW(window->Handle(), kCreateTooltips, 0, 0);
}

Starter& MainWindow::TheStarter() {
    if (!starter_)
        starter_ = std::make_unique<Starter>();
    return *starter_;
}

// The user whose data the window shows: the typed number in the form the launcher writes it,
// or the text as it stands when it is no number at all.
std::wstring MainWindow::UserForLookup() const {
    std::wstring text = TypedUser();
    return CanonicalIcqNumber(text).value_or(text);
}

std::optional<int32_t> MainWindow::SelectedStatus() const {
    return status_list::Selected(Item(IDC_IMGCOMB_STATUS));
}

command_line::StartRequest MainWindow::ChoiceToStart() const {
    std::wstring typed = TypedUser();
    std::optional<int32_t> code = SelectedStatus();
    auto edit = code ? edits_.find(*code) : edits_.end();
    return {typed, CanonicalIcqNumber(typed), code,
            edit == edits_.end() ? std::nullopt : std::optional<std::wstring>(edit->second)};
}

void MainWindow::Started() {
    err::Trap(L"frmMain.Started", err::NoArgs(), [&] {
        ownChoice_.reset();
        ShowUserStatus();
    });
}

void MainWindow::OnRelayout() {
    pictures_.Apply(Handle(), Dpi(), Font());
}

bool MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_IMG_LOGO)
        return false;
    pictures_.DrawBanner(item);
    return true;
}

POINT MainWindow::Place(SIZE size) {
    return StoredPlace(Shared().settings, size, Dpi());
}

// "Away Message" and its siblings, in the current language.
void MainWindow::ShowMessageLabel(const status::StatusInfo& selected) {
    size_t row = static_cast<size_t>(&selected - status::kStatuses.data());
    SetWindowTextW(Item(IDC_LBL_STATUS_TEXT), (statusNames_[row] + L" " + Translate(L"Message")).c_str());
}

// ---- the window's procedures ----

void MainWindow::StatusChange() {
    err::Trap(L"frmMain.StatusChange", err::NoArgs(), [&] {
        ShowWindow(Item(IDC_LBL_NOTIFY), IsWindowEnabled(Item(IDC_IMGCOMB_STATUS)) ? SW_HIDE : SW_SHOW);
        std::optional<int32_t> code = SelectedStatus();
        const status::StatusInfo* selected = code ? status::Find(*code) : nullptr;
        bool message = selected && selected->HasMessage();
        ShowWindow(Item(IDC_LBL_STATUS_TEXT), message ? SW_SHOW : SW_HIDE);
        ShowWindow(Item(IDC_TXT_STATUS_TEXT), message ? SW_SHOW : SW_HIDE);
        if (!message)
            return;
        ShowMessageLabel(*selected);
        // What the user wrote for this status, else the user's stored message.
        std::wstring text;
        if (auto edit = edits_.find(selected->code); edit != edits_.end()) {
            text = edit->second;
        } else {
            RegData stored = TheStarter().GetStatusText(shownFor_, selected->code);
            text = stored.IsText() ? stored.AsText() : std::wstring();
        }
        if (text.size() > kMaxMessageLength)
            text.resize(kMaxMessageLength);
        loadingMessage_ = true;
        SetWindowTextW(Item(IDC_TXT_STATUS_TEXT), text.c_str());
        loadingMessage_ = false;
    });
}

// Shows the user's stored status and messages; what was written for another user goes. A stored
// status the list does not know (or no number at all) selects nothing: the list stays usable and
// Start asks for a status, instead of a report at every start.
void MainWindow::ShowUserStatus() {
    err::Trap(L"frmMain.ShowUserStatus", err::NoArgs(), [&] {
        shownFor_ = UserForLookup();
        edits_.clear();
        std::optional<int32_t> code = icqlite::ShownLastStatus(shownFor_);
        status_list::Select(Item(IDC_IMGCOMB_STATUS), code);
        EnableWindow(Item(IDC_IMGCOMB_STATUS), code != status::kInvisible);
        StatusChange();
    });
}

void MainWindow::FillStatus() {
    err::Trap(L"frmMain.FillStatus", err::NoArgs(), [&] {
        for (size_t i = 0; i < status::kStatuses.size(); ++i)
            statusNames_[i] = Translate(status::kStatuses[i].name);
        status_list::Fill(Item(IDC_IMGCOMB_STATUS), statusNames_);
    });
}

void MainWindow::ReadUsers() {
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

void MainWindow::OnLoad() {
    tooltips_ = ui::Tooltips(Handle());
    pictures_.Apply(Handle(), Dpi(), Font());
    SendMessageW(Item(IDC_TXT_STATUS_TEXT), EM_LIMITTEXT, kMaxMessageLength, 0);
    SendMessageW(Item(IDC_COMB_USER), CB_LIMITTEXT, kMaxIcqNumberText, 0);
    SetWindowSubclass(Item(IDC_CBTN_START), StartButtonKeys, 0, 0);
    err::EventTrap(L"frmMain.Form_Load", err::NoArgs(), [&] {
        // Translation and position come with the frame.
        SetTooltips();
        FillStatus();
        ReadUsers();
    });
}

// After the settings window the language may be another: every text of the window is shown anew,
// while the chosen user, status and the message being typed stay as they are.
void MainWindow::cbtnSettings_Click() {
    err::EventTrap(L"frmMain.cbtnSettings_Click", err::NoArgs(), [&] {
        ShowSettings(Handle(), *Shared().settings, *Shared().language);
        HWND list = Item(IDC_IMGCOMB_STATUS);
        LRESULT position = SendMessageW(list, CB_GETCURSEL, 0, 0);
        TranslateWindow();
        FillStatus();
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        if (const status::StatusInfo* selected = SelectedStatus() ? status::Find(*SelectedStatus()) : nullptr)
            ShowMessageLabel(*selected);
        SetTooltips();
    });
}

void MainWindow::SetTooltips() {
    tooltips_.Set(Item(IDC_COMB_USER), Translate(L"Choose or enter an ICQ number"));
    tooltips_.Set(Item(IDC_IMGCOMB_STATUS), Translate(L"Choose a Status"));
}

void MainWindow::combUser_Click() {
    err::EventTrap(L"frmMain.combUser_Click", err::NoArgs(), [&] {
        // The box takes the chosen entry's text only after this notification: take it now.
        HWND combo = Item(IDC_COMB_USER);
        int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        if (index >= 0)
            SetWindowTextW(combo, ui::ComboItemText(combo, index).c_str());
        ownChoice_.reset();
        ShowUserStatus();
    });
}

// Typing the number of a recorded user shows that user's status and messages, as choosing it does:
// what Start writes is then never what was shown for another user. A number the client has no
// records of has nothing to show: the status and message the user chose stay, and Start writes them.
void MainWindow::combUser_Change() {
    err::EventTrap(L"frmMain.combUser_Change", err::NoArgs(), [&] {
        std::wstring user = UserForLookup();
        if (user == shownFor_)
            return;
        if (!icqlite::IsRecordedUser(user)) {
            KeepChoiceForNewNumber(user);
            return;
        }
        // Typing goes on through the recorded user's number (it may be the start of a new one).
        if (!ownChoice_)
            ownChoice_ = ChoiceShown();
        ShowUserStatus();
    });
}

// The status and messages on the screen as the user's own: the message the box shows is one Start
// writes.
MainWindow::Choice MainWindow::ChoiceShown() const {
    Choice choice{SelectedStatus(), edits_};
    if (choice.status && IsWindowVisible(Item(IDC_TXT_STATUS_TEXT)))
        choice.edits[*choice.status] = ui::Text(Item(IDC_TXT_STATUS_TEXT));
    return choice;
}

// The choice on the screen becomes the new number's, or the one the user had made before typing
// led through recorded users.
void MainWindow::KeepChoiceForNewNumber(const std::wstring& user) {
    err::Trap(L"frmMain.KeepChoiceForNewNumber(strUser)", err::Args(user), [&] {
        HWND list = Item(IDC_IMGCOMB_STATUS);
        Choice choice = ownChoice_ ? *ownChoice_ : ChoiceShown();
        ownChoice_.reset();
        status_list::Select(list, choice.status);
        edits_ = std::move(choice.edits);
        shownFor_ = user;
        // Only a recorded invisible user is held to Invisible.
        EnableWindow(list, TRUE);
        StatusChange();
    });
}

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
    case IDC_COMB_USER:
        if (code == CBN_SELCHANGE)
            combUser_Click();
        else if (code == CBN_EDITCHANGE)
            combUser_Change();
        break;
    // What the user chooses now is the choice a new number keeps, not one from before.
    case IDC_TXT_STATUS_TEXT:
        if (code == EN_CHANGE && !loadingMessage_) {
            ownChoice_.reset();
            if (std::optional<int32_t> status = SelectedStatus())
                edits_[*status] = ui::Text(Item(IDC_TXT_STATUS_TEXT));
        }
        break;
    case IDC_IMGCOMB_STATUS:
        if (code == CBN_SELCHANGE) {
            ownChoice_.reset();
            err::EventTrap(L"frmMain.imgcombStatus_Click", err::NoArgs(), [&] { StatusChange(); });
        }
        break;
    case IDC_CBTN_START:
        if (code == BN_CLICKED)
            cbtnStart_Click(*this);
        break;
    case IDC_CBTN_SETTINGS:
        if (code == BN_CLICKED)
            cbtnSettings_Click();
        break;
    case IDC_CBTN_NEW_VERSION:
        if (code == BN_CLICKED)
            err::EventTrap(L"frmMain.cbtnNewVersion_Click", err::NoArgs(), [&] {
                // As during a start, a close asked for meanwhile waits until the check is over.
                ui::BusyScope busy(Handle());
                update::CheckForUpdates(Handle());
            });
        break;
    case IDM_CREATE_SHORTCUT:
        mnuCreateShortcut_Click();
        break;
    case IDC_CBTN_INFO:
        if (code == BN_CLICKED)
            err::EventTrap(L"frmMain.cbtnInfo_Click", err::NoArgs(), [&] { info::ShowInfo(Handle()); });
        break;
    }
    // IDCANCEL (Esc) has nothing to cancel here and is ignored.
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_CBTN_START && header.code == BCN_DROPDOWN)
        ShowStartMenu();
    return 0;
}

// The start button's menu, below the button as a drop-down is.
void MainWindow::ShowStartMenu() {
    err::EventTrap(L"frmMain.cbtnStart_DropDown", err::NoArgs(), [&] {
        HMENU menu = CreatePopupMenu();
        if (!menu)
            return;
        std::wstring text = Translate(L"Create Desktop Shortcut");
        AppendMenuW(menu, MF_STRING, IDM_CREATE_SHORTCUT, text.c_str());
        RECT button{};
        GetWindowRect(Item(IDC_CBTN_START), &button);
        bool rtl = (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        UINT flags = TPM_RETURNCMD | TPM_TOPALIGN | (rtl ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN);
        int chosen =
            TrackPopupMenuEx(menu, flags, rtl ? button.right : button.left, button.bottom, Handle(), nullptr);
        DestroyMenu(menu);
        if (chosen == IDM_CREATE_SHORTCUT)
            mnuCreateShortcut_Click();
    });
}

// A shortcut on the desktop that starts what the window shows now, without the window: the user,
// the status and, for a status that has one, the message in the box. The same checks as Start
// come first; a message the shortcut cannot take whole is refused, not cut.
void MainWindow::mnuCreateShortcut_Click() {
    err::EventTrap(L"frmMain.mnuCreateShortcut_Click", err::NoArgs(), [&] {
        command_line::StartRequest choice = ChoiceToStart();
        if (!CheckChoice(Handle(), choice))
            return;
        choice.message.reset();
        if (status::Find(*choice.status)->HasMessage())
            choice.message = ui::Text(Item(IDC_TXT_STATUS_TEXT));
        std::wstring arguments = command_line::BuildArguments(choice);
        if (!platform::ShortcutTakes(arguments)) {
            ui::ShowMessage(Handle(), Translate(L"The message is too long for a shortcut."),
                            MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        std::wstring path = platform::DesktopShortcutPath(command_line::ChoiceTitle(choice));
        std::wstring exe = platform::ProgramPath();
        HRESULT result = path.empty()
                             ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                             : platform::SaveShortcut(path, {exe, arguments, platform::ProgramFolder(), exe,
                                                             0, command_line::ChoiceDescription(choice)});
        if (FAILED(result)) {
            ui::ShowMessage(Handle(),
                            Translate(L"The shortcut could not be created.") + L"\r\n\r\n" +
                                Translate(L"Reason") + L": " + SystemReason(static_cast<uint32_t>(result)),
                            MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        ui::ShowBalloon(Item(IDC_CBTN_START), Translate(L"The shortcut was created on your desktop."));
    });
}

void MainWindow::Form_Unload() {
    err::EventTrap(L"frmMain.Form_Unload(Cancel)", err::Args(int16_t{0}), [&] {
        NotSavedList notSaved;
        if (const Settings* settings = Shared().settings)
            StorePlace(Handle(), *settings, notSaved);
        Dispose(notSaved);
    });
}

// Closing is never cancelled (one asked for while the client is being started waits for the end
// of the start: the frame holds it back). The program ends with its last window: a report of an
// error on the way out stays until the user has closed it.
void MainWindow::OnClose() {
    Form_Unload();
    End();
}

// Windows may end the process as soon as the end of the session has been answered, and nothing may
// wait for the user then: what can be saved is saved, a failure is not told.
void MainWindow::SaveForSessionEnd() {
    err::IgnoreErrors(
        [&] {
            if (Settings* settings = Shared().settings) {
                NotSavedList ignored;
                StorePlace(Handle(), *settings, ignored);
                settings->SaveSettings(ignored);
            }
            return 0;
        },
        0);
}

std::optional<LRESULT> MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case kCreateTooltips:
        tooltips_.Create();
        return 0;
    case kActivateMessage: {
        // Another start of the program: it ended and this window comes to the front instead (its
        // modal window, when one is open).
        if (IsIconic(Handle()))
            ShowWindow(Handle(), SW_RESTORE);
        ui::Window* modal = ui::ActiveModal();
        SetForegroundWindow(modal ? modal->Handle() : Handle());
        return 0;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows may end the process as soon as this returns: save now what the end would save.
        if (wp)
            SaveForSessionEnd();
        return 0;
    }
    return std::nullopt;
}

} // namespace velmora::app
