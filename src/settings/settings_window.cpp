#include "settings/settings_window.h"

#include "client/icq_lite.h"
#include "errors/trap.h"
#include "language/language.h"
#include "platform/module.h"
#include "settings/settings.h"
#include "ui/window.h"

#include <array>

namespace velmora {
namespace {

using ui::Kind;

// The Advanced frame has a row for each of its two check boxes; the window is as wide as the
// longest option of every shipped language needs (French names the three statuses), the list as
// wide as the longest language name ("Português (Brasil)").
constexpr std::array<ui::Control, 12> kControls{{
    // id, kind, key, then x, y, width, height in twips and the frame it lies in
    {IDC_FRA_GENERAL, Kind::Frame, L"General", 120, 120, 7920, 2775},
    {IDC_LBL_LANGUAGE, Kind::Label, L"Language", 240, 500, 960, 255, IDC_FRA_GENERAL},
    {IDC_COMB_LANGUAGE, Kind::DropDownList, nullptr, 1200, 480, 2040, 315, IDC_FRA_GENERAL},
    {IDC_OPT_MANUEL, Kind::Option, L"Open Login Window for selected User", 240, 1080, 7560, 255,
     IDC_FRA_GENERAL},
    {IDC_OPT_AUTO, Kind::Option, L"Direct Login (Password has to be saved in ICQ Lite)", 240, 1440, 7560, 255,
     IDC_FRA_GENERAL},
    {IDC_CHB_CLOSE, Kind::Check, L"Close Velmora after Login", 240, 1920, 7560, 255, IDC_FRA_GENERAL},
    {IDC_CHB_AUTOSTART, Kind::Check, L"Start Velmora with Windows", 240, 2280, 7560, 255, IDC_FRA_GENERAL},
    {IDC_FRA_ADVANCED, Kind::Frame, L"Advanced", 120, 3000, 7920, 1215},
    {IDC_CHB_MULTISTART, Kind::Check, L"Allow Starting of multiple ICQ Lite Instances", 240, 360, 7560, 255,
     IDC_FRA_ADVANCED},
    {IDC_CHB_EXTRASTATUS, Kind::Check, L"Allow Free for Chat, Occupied and DND Status", 240, 720, 7560, 255,
     IDC_FRA_ADVANCED},
    {IDOK, Kind::DefaultButton, L"Ok", 5505, 4320, 1215, 375},
    {IDCANCEL, Kind::Button, L"Cancel", 6825, 4320, 1215, 375},
}};
constexpr ui::WindowDef kDef{kSettingsWindowClass, L"frmSettings", L"Settings", true, 8160, 4830,
                             ui::kToolLook,        kControls,      IDOK};

const std::wstring kRunPlace = std::wstring(L"HKEY_CURRENT_USER\\") + kRunKey;

class SettingsWindow : public ui::Window {
public:
    SettingsWindow(Settings& settings, Language& language)
        : Window(kDef), settings_(settings), language_(language) {}

private:
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

    void OnLoad() override {
        Check(IDC_OPT_MANUEL, true); // until the stored setting says otherwise
        err::EventTrap(L"frmSettings.Form_Load", err::NoArgs(), [&] { LoadSettings(); });
    }

    void OnCommand(int id, int code) override {
        if (id == IDOK && code == BN_CLICKED)
            err::EventTrap(L"frmSettings.cmdOk_Click", err::NoArgs(), [&] {
                SaveSettings();
                End(1);
            });
        else if (id == IDCANCEL) // the button or Esc
            err::EventTrap(L"frmSettings.cmdCancel_Click", err::NoArgs(), [&] { End(0); });
    }

    // The languages under their own names, in the order of languages_; the current one is
    // selected when it is among them (the list takes no typed names, so a language that is not
    // there stays as it is on OK).
    void LoadLanguages() {
        err::Trap(L"frmSettings.LoadLanguages", err::NoArgs(), [&] {
            HWND list = Item(IDC_COMB_LANGUAGE);
            languages_ = language_.GetAllLanguages();
            for (const LanguageEntry& language : languages_)
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.name.c_str()));
            err::IgnoreErrors(
                [&] {
                    for (size_t i = 0; i < languages_.size(); ++i)
                        if (languages_[i].file == language_.LanguageFile())
                            SendMessageW(list, CB_SETCURSEL, i, 0);
                    return 0;
                },
                0);
        });
    }

    void LoadSettings() {
        err::Trap(L"frmSettings.LoadSettings", err::NoArgs(), [&] {
            LoadLanguages();
            multiShown_ = icqlite::MultiInstanceEnable();
            Check(IDC_CHB_MULTISTART, multiShown_);
            Check(IDC_CHB_AUTOSTART, GetRunState() == 1);
            Check(IDC_CHB_EXTRASTATUS, settings_.ExtStatus());
            Check(IDC_CHB_CLOSE, settings_.CloseAfter());
            Check(IDC_OPT_AUTO, settings_.DirectLogin());
            Check(IDC_OPT_MANUEL, !settings_.DirectLogin());
        });
    }

    // 1 when Windows starts the program with the session (whatever the value names), else 0.
    int32_t GetRunState() {
        return err::Trap(L"frmSettings.GetRunState", err::NoArgs(), [&] {
            return reg_.ReadValue(kRunValue, kRunKey, HKEY_CURRENT_USER).AsText().empty() ? 0 : 1;
        });
    }

    // The full path of the running exe, quoted: unquoted, a path with spaces would let Windows try
    // C:\Program.exe and the like first.
    void SetRunState(bool enable, NotSavedList& notSaved) {
        LSTATUS rc = enable ? reg_.WriteValueChecked(kRunValue, L"\"" + platform::ProgramPath() + L"\"",
                                                     REG_SZ, kRunKey, HKEY_CURRENT_USER)
                            : reg_.DeleteValueChecked(kRunValue, kRunKey, HKEY_CURRENT_USER);
        if (rc != ERROR_SUCCESS)
            notSaved.Add(kRunValue, kRunPlace, static_cast<uint32_t>(rc));
    }

    // What OK confirmed is written at once, the three switches of the settings too (not only at the
    // program's end, which a crash would never reach). A value that cannot be written is told once,
    // all of them together, and the window stays open.
    void SaveSettings() {
        err::Trap(L"frmSettings.SaveSettings", err::NoArgs(), [&] {
            NotSavedList notSaved;
            // The client's own setting is written only when the user changed it: the box shows
            // anything but "Yes" as unchecked, and the client may read other forms its own way.
            // Written where the client reads it (its virtual store where Windows keeps one).
            if (Checked(IDC_CHB_MULTISTART) != multiShown_) {
                icqlite::WriteResult multi = icqlite::SetMultiInstanceEnable(Checked(IDC_CHB_MULTISTART));
                if (multi.code != ERROR_SUCCESS)
                    notSaved.Add(L"MultiInstance", multi.where, static_cast<uint32_t>(multi.code));
            }
            settings_.SetExtStatus(Checked(IDC_CHB_EXTRASTATUS));
            settings_.SetCloseAfter(Checked(IDC_CHB_CLOSE));
            settings_.SetDirectLogin(Checked(IDC_OPT_AUTO));
            settings_.SaveSettings(notSaved);
            int chosen = static_cast<int>(SendMessageW(Item(IDC_COMB_LANGUAGE), CB_GETCURSEL, 0, 0));
            if (chosen >= 0 && static_cast<size_t>(chosen) < languages_.size())
                language_.SetLanguageFile(languages_[chosen].file, &notSaved); // the file name, as ever stored
            if (HWND owner = GetWindow(Handle(), GW_OWNER))
                language_.TranslateFormControls(owner);
            SetRunState(Checked(IDC_CHB_AUTOSTART), notSaved);
            notSaved.RaiseIfAny();
        });
    }

    Settings& settings_;
    Language& language_;
    std::vector<LanguageEntry> languages_; // as the list shows them
    Reg reg_;
    bool multiShown_ = false; // what the client's multi-instance box showed when the window opened
};

} // namespace

bool ShowSettings(HWND owner, Settings& settings, Language& language) {
    return ui::RunModal<SettingsWindow>(owner, settings, language) == 1;
}

} // namespace velmora
