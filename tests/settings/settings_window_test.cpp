// The settings window of the real velmora.exe, opened from the main window and driven as a user
// would: what it shows of the stored settings, what Cancel and OK do with them.
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "settings/settings_window.h"
#include "support/app.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using test::Narrow;

class SettingsWindowE2E : public testing::Test {
protected:
    SettingsWindowE2E() { DeleteRun(); }
    ~SettingsWindowE2E() override { DeleteRun(); }

    // The main window, then the settings window opened from it.
    HWND Open() {
        if (!app_->Start() || !gui::Click(app_->Item(app::IDC_CBTN_SETTINGS)))
            return nullptr;
        return window_ = app_->Window(kSettingsWindowClass);
    }
    HWND Item(int id) const { return gui::Control(window_, id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Run() const { return app_->reg.ReadValue(kRunValue, kRunKey, HKEY_CURRENT_USER).AsText(); }
    void SetRun(const std::wstring& text) const {
        app_->reg.WriteValue(kRunValue, text, REG_SZ, kRunKey, HKEY_CURRENT_USER);
    }
    void DeleteRun() const { app_->reg.DeleteValue(kRunValue, kRunKey, HKEY_CURRENT_USER); }
    RegData Multi() const {
        return app_->reg.ReadValue(L"MultiInstance", icqlite::kDefaultPrefsKey, HKEY_LOCAL_MACHINE,
                                   icqlite::kClientView);
    }
    void SetMulti(const std::wstring& text) const {
        app_->reg.WriteValue(L"MultiInstance", text, REG_SZ, icqlite::kDefaultPrefsKey, HKEY_LOCAL_MACHINE,
                             icqlite::kClientView);
    }
    // Everything the window can change, as text.
    std::wstring Snapshot() const {
        std::wstring all;
        for (const wchar_t* name : {L"CloseAfterStart", L"DirectLogin", L"ExtStatus", L"Language"})
            all += std::wstring(name) + L"=" + app_->Setting(name) + L"; ";
        RegData multi = Multi();
        return all + L"Run=" + Run() + L"; MultiInstance=" + (multi.IsEmpty() ? L"<none>" : multi.AsText());
    }
    // Every check box and option turned over, another language chosen.
    void ChangeEverything() {
        for (int id : {IDC_CHB_CLOSE, IDC_CHB_AUTOSTART, IDC_CHB_MULTISTART, IDC_CHB_EXTRASTATUS})
            ASSERT_TRUE(gui::Click(Item(id)));
        ASSERT_TRUE(gui::Click(Item(Checked(IDC_OPT_AUTO) ? IDC_OPT_MANUEL : IDC_OPT_AUTO)));
        std::vector<std::wstring> names = gui::ComboItems(Item(IDC_COMB_LANGUAGE));
        int french = static_cast<int>(std::find(names.begin(), names.end(), L"Français") - names.begin());
        ASSERT_TRUE(gui::ComboSelect(Item(IDC_COMB_LANGUAGE), french));
        ASSERT_TRUE(test::WaitFor([&] { return Checked(IDC_CHB_EXTRASTATUS); }));
    }
    bool Gone() const {
        return test::WaitFor([&] { return !IsWindow(window_) && gui::IsEnabled(app_->Main()); });
    }

    std::unique_ptr<test::App> app_ = std::make_unique<test::App>();
    HWND window_ = nullptr;
};

TEST_F(SettingsWindowE2E, ShowsWhatIsStored) {
    struct Case {
        const char* name;
        std::optional<std::wstring> run, direct;
        const wchar_t *close, *extra, *multi, *language;
        bool autoStart, directShown, multiShown;
        const wchar_t* selectedLanguage; // nullptr: none
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, nullptr, nullptr, nullptr, L"English", false, true,
         false, L"English"},
        {"all on, another program in Run", L"C:\\elsewhere\\other.exe", L"0", L"1", L"1", L"Yes", L"Deutsch",
         true, false, true, L"Deutsch"},
        {"unknown language, 'yes' in lower case", L"x", L"-1", L"0", L"0", L"yes", L"Klingon", true, true,
         false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app_.reset(); // one program at a time, each case from a clean start
        app_ = std::make_unique<test::App>(c.language);
        if (c.run)
            SetRun(*c.run);
        if (c.direct)
            app_->SetSetting(L"DirectLogin", *c.direct);
        if (c.close)
            app_->SetSetting(L"CloseAfterStart", c.close);
        if (c.extra)
            app_->SetSetting(L"ExtStatus", c.extra);
        if (c.multi)
            SetMulti(c.multi);
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(GetWindow(window_, GW_OWNER), app_->Main());
        EXPECT_FALSE(gui::IsEnabled(app_->Main())) << "not modal";
        EXPECT_EQ(Checked(IDC_CHB_AUTOSTART), c.autoStart);
        EXPECT_EQ(Checked(IDC_OPT_AUTO), c.directShown);
        EXPECT_EQ(Checked(IDC_OPT_MANUEL), !c.directShown);
        EXPECT_EQ(Checked(IDC_CHB_CLOSE), c.close && c.close == std::wstring(L"1"));
        EXPECT_EQ(Checked(IDC_CHB_EXTRASTATUS), c.extra && c.extra == std::wstring(L"1"));
        EXPECT_EQ(Checked(IDC_CHB_MULTISTART), c.multiShown);
        EXPECT_EQ(gui::ComboItems(Item(IDC_COMB_LANGUAGE)),
                  (std::vector<std::wstring>{L"Čeština", L"Deutsch", L"English", L"Español", L"Français",
                                             L"Italiano", L"Polski", L"Português (Brasil)", L"Türkçe",
                                             L"Русский", L"Українська", L"עברית"}));
        int selected = gui::ComboSelected(Item(IDC_COMB_LANGUAGE));
        EXPECT_EQ(selected < 0 ? L"<none>" : gui::ComboItemText(Item(IDC_COMB_LANGUAGE), selected),
                  c.selectedLanguage ? c.selectedLanguage : L"<none>");
        EXPECT_EQ(gui::Text(window_),
                  ui::WithoutMnemonics(
                      test::Shipped(c.selectedLanguage ? c.selectedLanguage : L"English", L"Settings")));
        ASSERT_TRUE(gui::Click(Item(IDCANCEL)));
        EXPECT_TRUE(Gone());
        EXPECT_EQ(app_->Close(), 0);
    }
}

// Cancel, Esc and the close box after changing every control leave everything as it was.
TEST_F(SettingsWindowE2E, CancelEscAndCloseChangeNothing) {
    SetRun(L"C:\\before.exe");
    SetMulti(L"False");
    app_->SetSetting(L"DirectLogin", L"0");
    ASSERT_NE(app_->Start(), nullptr);
    const std::wstring before = Snapshot();
    for (const char* way : {"Cancel", "Esc", "close box"}) {
        SCOPED_TRACE(way);
        ASSERT_TRUE(gui::Click(app_->Item(app::IDC_CBTN_SETTINGS)));
        ASSERT_NE(window_ = app_->Window(kSettingsWindowClass), nullptr);
        ChangeEverything();
        if (way == std::string("Cancel"))
            ASSERT_TRUE(gui::Click(Item(IDCANCEL)));
        else if (way == std::string("Esc"))
            PostMessageW(Item(IDC_CHB_CLOSE), WM_KEYDOWN, VK_ESCAPE, 0);
        else
            gui::Close(window_);
        EXPECT_TRUE(Gone());
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(gui::Text(app_->Item(app::IDC_CBTN_SETTINGS)), test::Shipped(L"English", L"Settings"));
    }
    EXPECT_EQ(app_->Close(), 0);
}

// OK writes everything at once: a process that is killed right after still leaves every choice
// in the registry (the language by its file name, not the name it is listed under), and the main
// window is in the new language with the user's work kept (and no longer mirrored, coming from Hebrew).
TEST_F(SettingsWindowE2E, OkAppliesEverythingAtOnce) {
    app_.reset();
    app_ = std::make_unique<test::App>(L"Hebrew");
    SetRun(L"C:\\old place\\velmora.exe");
    test::RecordUsers({{L"4711", 1, {{L"AwayStatusText", L"stored"}}}}, L"4711");
    ASSERT_NE(app_->Start(), nullptr);
    ASSERT_TRUE(gui::SetText(app_->Item(app::IDC_TXT_STATUS_TEXT), L"typed, not saved"));
    ASSERT_TRUE(gui::Click(app_->Item(app::IDC_CBTN_SETTINGS)));
    ASSERT_NE(window_ = app_->Window(kSettingsWindowClass), nullptr);
    ASSERT_TRUE(Checked(IDC_CHB_AUTOSTART));
    ChangeEverything();                               // autostart is off now: turn it on again
    ASSERT_TRUE(gui::Click(Item(IDC_CHB_AUTOSTART))); // still checked: the value is rewritten
    ASSERT_TRUE(gui::Click(Item(IDOK)));
    ASSERT_TRUE(Gone());

    auto french = [](const wchar_t* key) { return test::Shipped(L"French", key); };
    // Shown anew once the modal run is over, right after the settings window went: the message label
    // comes last.
    EXPECT_TRUE(test::WaitFor([&] {
        return gui::Text(app_->Item(app::IDC_LBL_STATUS_TEXT)) == french(L"Away") + L" " + french(L"Message");
    })) << Narrow(gui::Text(app_->Item(app::IDC_LBL_STATUS_TEXT)));
    EXPECT_EQ(GetWindowLongW(app_->Main(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0) << "still mirrored";
    EXPECT_EQ(gui::Text(app_->Item(app::IDC_CBTN_SETTINGS)), french(L"Settings"));
    EXPECT_EQ(gui::Text(app_->Item(app::IDC_LBL_USER)), french(L"User"));
    EXPECT_EQ(gui::ComboSelected(app_->Item(app::IDC_IMGCOMB_STATUS)), 1) << "another status selected";
    EXPECT_EQ(gui::Text(app_->Item(app::IDC_TXT_STATUS_TEXT)), L"typed, not saved");

    TerminateProcess(app_->Process().Handle(), 9); // as taskkill /F: no orderly end
    ASSERT_EQ(app_->Process().Wait(10s), 9);
    EXPECT_EQ(app_->Setting(L"CloseAfterStart"), L"1");
    EXPECT_EQ(app_->Setting(L"DirectLogin"), L"0"); // direct login was on (the default)
    EXPECT_EQ(app_->Setting(L"ExtStatus"), L"1");
    EXPECT_EQ(app_->Setting(L"Language"), L"French");
    EXPECT_EQ(Multi().AsText(), L"Yes");
    EXPECT_EQ(Run(), L"\"" + test::BinDir() + L"\\velmora.exe\"");
}

// OK without a change writes the Run value again (here: deletes it, also when there was none),
// leaves the language as it was stored and translates the main window again. The client's own
// switch is written only when the user changed it: the box shows anything but "Yes" unchecked, and
// the client may read those its own way.
TEST_F(SettingsWindowE2E, OkWithoutChangesRewritesOnlyWhatItOwns) {
    const std::pair<RegData, DWORD> stored[] = {{RegData(), REG_NONE}, {1, REG_DWORD}, {L"yes", REG_SZ}};
    for (const auto& [multi, type] : stored) {
        SCOPED_TRACE(type);
        app_.reset();
        app_ = std::make_unique<test::App>();
        if (!multi.IsEmpty())
            app_->reg.WriteValue(L"MultiInstance", multi, type, icqlite::kDefaultPrefsKey, HKEY_LOCAL_MACHINE,
                                 icqlite::kClientView);
        ASSERT_NE(Open(), nullptr);
        app_->SetSetting(L"Language", L"stored meanwhile"); // what a rewrite of the language would replace
        SendMessageW(app_->Item(app::IDC_LBL_USER), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"not translated"));
        ASSERT_TRUE(gui::Click(Item(IDOK)));
        ASSERT_TRUE(Gone());
        EXPECT_EQ(gui::Text(app_->Item(app::IDC_LBL_USER)), test::Shipped(L"English", L"User"));
        EXPECT_EQ(Multi().value, multi.value) << "the client's switch was written";
        EXPECT_EQ(Run(), L"");
        EXPECT_EQ(app_->Setting(L"Language"), L"stored meanwhile") << "the language was written";
        EXPECT_EQ(app_->Close(), 0);
    }
}

// What OK could not write is told, only that (the language was not changed, and a write that
// failed before the window opened is no part of it), and the window stays.
TEST_F(SettingsWindowE2E, AValueThatCannotBeWrittenIsToldAndTheWindowStays) {
    app_.reset();
    app_ = std::make_unique<test::App>(L"Deutsch");
    test::ReadOnlyKey settings(HKEY_CURRENT_USER, test::kSettingsKey); // also for the start's own write
    ASSERT_NE(Open(), nullptr);
    {
        test::ReadOnlyKey locked(HKEY_CURRENT_USER, kRunKey);
        ASSERT_TRUE(gui::Click(Item(IDC_CHB_AUTOSTART)));
        ASSERT_TRUE(gui::Click(Item(IDOK)));
        auto box = app_->Message();
        ASSERT_TRUE(box) << "nothing told";
        for (std::wstring part : {test::Shipped(L"Deutsch", L"Your settings could not be saved."),
                                  std::wstring(L": Velmora\r\n"), std::wstring(L"\\CurrentVersion\\Run\r\n"),
                                  std::wstring(L": CloseAfterStart\r\n"), std::wstring(L"(5)")})
            EXPECT_NE(box->text.find(part), std::wstring::npos)
                << Narrow(part) << " not in " << Narrow(box->text);
        EXPECT_EQ(box->text.find(L"Language"), std::wstring::npos) << Narrow(box->text);
        ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    }
    EXPECT_TRUE(test::WaitFor([&] { return IsWindow(window_) && gui::IsEnabled(window_); }))
        << "the window went";
    ASSERT_TRUE(gui::Click(Item(IDCANCEL)));
    EXPECT_TRUE(Gone());
}

} // namespace
} // namespace velmora
