// The main window of the real velmora.exe, driven as a user would through the GUI driver, with
// the stand-in client installed as the client.
#include "gui_driver/gui_driver.h"

#include "app/main_window_ids.h"
#include "app/window_position.h"
#include "client/icq_lite.h"
#include "errors/show_error_window.h"
#include "settings/reg.h"
#include "support/standin.h"
#include "support/support.h"
#include "textfiles/file.h"
#include "textfiles/ini_file.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using namespace app;

// What the shipped English file makes of a key (the key itself when it has no entry).
std::wstring English(const wchar_t* key) {
    File file;
    IniFile ini(file);
    ini.SetINIPath(test::BinDir() + L"\\Languages\\English.ini");
    ini.ReadINI();
    return ini.ReadValue(L"Language", key, key);
}

using test::Narrow;

class MainWindowE2E : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            reg_.WriteValueChecked(L"Language", L"English", REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER),
            ERROR_SUCCESS);
    }

    // Starts velmora.exe and waits until its main window is shown and its lists are filled.
    HWND Open() {
        velmora_ = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
        HWND main = gui::WaitForTopWindow(velmora_.Id(), kMainWindowClass, kMainWindowTitle);
        if (main) {
            EXPECT_TRUE(test::WaitFor([&] { return gui::ComboCount(Item(main, IDC_IMGCOMB_STATUS)) == 7; }))
                << "the status list was not filled";
        }
        return main;
    }

    static HWND Item(HWND main, int id) { return gui::Control(main, id); }

    // The window that has the keyboard focus in the program.
    static HWND FocusedWindow(HWND main) {
        GUITHREADINFO info{sizeof(info)};
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return info.hwndFocus;
    }
    // The id of the control (of the main window) that holds it, 0 for none.
    static int FocusedId(HWND main) {
        HWND hwnd = FocusedWindow(main);
        while (hwnd && GetParent(hwnd) != main)
            hwnd = GetParent(hwnd);
        return hwnd ? GetDlgCtrlID(hwnd) : 0;
    }

    std::wstring Setting(const wchar_t* name) const {
        return reg_.ReadValue(name, test::kSettingsKey, HKEY_CURRENT_USER).AsText();
    }

    Reg reg_;
    test::ScratchKey settings_{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    test::ScratchKey owners_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    test::ScratchKey machine_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    test::ChildProcess velmora_;
};

// ---- what the window shows ----

TEST_F(MainWindowE2E, ShowsTheRecordedUsersAndTheChosenUsersStatus) {
    test::StandinInstall install;
    test::RecordUsers({{L"123456789", 1, {{L"AwayStatusText", L"Back in five"}}},
                       {L"44556677", 0, {{L"DNDStatusText", L"In a meeting"}}},
                       {L"987654", 256, {}},
                       {L"555", 257, {}}},
                      L"123456789");
    HWND main = Open();
    ASSERT_NE(main, nullptr) << "no main window";
    HWND users = Item(main, IDC_COMB_USER), list = Item(main, IDC_IMGCOMB_STATUS);

    std::vector<std::wstring> expectedUsers = reg_.EnumKeys(icqlite::kOwnersKey, HKEY_CURRENT_USER);
    EXPECT_EQ(gui::ComboItems(users), expectedUsers) << "not the recorded users in enumeration order";
    EXPECT_EQ(gui::Text(users), L"123456789");
    EXPECT_EQ(gui::ComboItems(list),
              (std::vector<std::wstring>{L"Online", L"Away", L"DND", L"N/A", L"Occupied", L"Free For Chat",
                                         L"Invisible"}));

    struct Expect {
        const char* name;
        int selected;
        bool listEnabled, notice, message;
        std::wstring label, text;
    };
    auto check = [&](const Expect& e) {
        EXPECT_TRUE(test::WaitFor([&] { return gui::ComboSelected(list) == e.selected; }, 3s))
            << e.name << ": selected " << gui::ComboSelected(list) << ", expected " << e.selected;
        EXPECT_EQ(gui::IsEnabled(list), e.listEnabled) << e.name;
        EXPECT_EQ(gui::IsVisible(Item(main, IDC_LBL_NOTIFY)), e.notice) << e.name;
        EXPECT_EQ(gui::IsVisible(Item(main, IDC_LBL_STATUS_TEXT)), e.message) << e.name;
        EXPECT_EQ(gui::IsVisible(Item(main, IDC_TXT_STATUS_TEXT)), e.message) << e.name;
        if (e.message) {
            EXPECT_EQ(gui::Text(Item(main, IDC_LBL_STATUS_TEXT)), e.label) << e.name;
            EXPECT_EQ(gui::Text(Item(main, IDC_TXT_STATUS_TEXT)), e.text) << e.name;
        }
    };
    check({"last owner, Away", 1, true, false, true, L"Away Message", L"Back in five"});

    auto choose = [&](const std::wstring& number) {
        auto items = gui::ComboItems(users);
        auto at = std::find(items.begin(), items.end(), number);
        ASSERT_NE(at, items.end()) << Narrow(number) << " is not listed";
        ASSERT_TRUE(gui::ComboSelect(users, static_cast<int>(at - items.begin())));
    };
    choose(L"987654");
    check({"stored 256", 6, false, true, false, L"", L""});
    choose(L"44556677");
    check({"Online", 0, true, false, false, L"", L""});
    choose(L"555");
    check({"stored 257", 6, false, true, false, L"", L""});
    choose(L"44556677");
    ASSERT_TRUE(gui::ComboSelect(list, 2));
    check({"DND chosen", 2, true, false, true, L"DND Message", L"In a meeting"});
    // Typing does not re-read the status.
    ASSERT_TRUE(gui::SetText(users, L"987654"));
    check({"typed, not chosen", 2, true, false, true, L"DND Message", L"In a meeting"});

    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

// The tips come a moment after the window shows; every part of both boxes (the box, its inner
// combo box and edit field) then has one.
TEST_F(MainWindowE2E, BothBoxesGetTheirTipsOnceTheWindowIsShown) {
    test::StandinInstall install;
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    int parts = 0;
    for (int id : {IDC_COMB_USER, IDC_IMGCOMB_STATUS}) {
        HWND box = Item(main, id);
        ++parts;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            ++parts;
            for (HWND inner = GetWindow(child, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT))
                ++parts;
        }
    }
    LRESULT tools = -1;
    EXPECT_TRUE(test::WaitFor([&] {
        for (HWND tip : gui::TopWindows(velmora_.Id(), TOOLTIPS_CLASSW, nullptr))
            if (GetWindow(tip, GW_OWNER) == main)
                return (tools = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0)) == parts;
        return false;
    })) << "the window's tooltip has "
        << tools << " tools for the " << parts << " parts of the boxes";
    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

TEST_F(MainWindowE2E, AStatusTheListDoesNotKnowIsReportedAndTheSelectionStays) {
    test::StandinInstall install;
    test::RecordUsers({{L"123456789", 1, {}}, {L"333", 3, {}}}, L"123456789");
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    HWND users = Item(main, IDC_COMB_USER), list = Item(main, IDC_IMGCOMB_STATUS);
    ASSERT_EQ(gui::ComboSelected(list), 1);
    auto items = gui::ComboItems(users);
    auto at = std::find(items.begin(), items.end(), L"333");
    ASSERT_NE(at, items.end());
    ASSERT_TRUE(gui::ComboSelect(users, static_cast<int>(at - items.begin())));

    HWND report = gui::WaitForTopWindow(velmora_.Id(), err::kErrorWindowClass, nullptr);
    ASSERT_NE(report, nullptr) << "no report for status 3";
    std::wstring text;
    EXPECT_TRUE(test::WaitFor([&] {
        text = gui::Text(gui::Control(report, err::IDC_ERR_TEXT));
        return text.find(L"Call Stack: frmMain.combUser_Click") != std::wstring::npos;
    })) << Narrow(text);
    EXPECT_LT(text.find(L"Call Stack: frmMain.ShowUserStatus"),
              text.find(L"Call Stack: frmMain.combUser_Click"))
        << Narrow(text);
    EXPECT_EQ(gui::ComboSelected(list), 1) << "the selection changed";
    EXPECT_TRUE(gui::IsEnabled(main));
    gui::Close(report);
    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

// ---- the start ----

TEST_F(MainWindowE2E, StartHandsTheChoiceToTheClient) {
    struct Case {
        const char* name;
        std::wstring typed;
        int status; // index in the list
        std::wstring message;
        bool direct, closeAfter;
        long long owner, code;
        const wchar_t* messageValue;
    };
    const Case cases[] = {
        {"Away, direct login, close after start", L"", 1, L"Gone fishing", true, true, 123456789, 1,
         L"AwayStatusText"},
        {"typed with dashes, Online, login window, stay open", L"123-456", 0, L"", false, false, 123456, 0,
         nullptr},
        {"leading zeros, Free For Chat", L" 00777 ", 5, L"Talk to me", false, false, 777, 32,
         L"ChatStatusText"},
    };
    test::StandinInstall install;
    for (const Case& c : cases) {
        owners_.Clear();
        machine_.Clear();
        settings_.Clear();
        SetUp();
        reg_.WriteValue(L"DirectLogin", c.direct ? L"1" : L"0", REG_SZ, test::kSettingsKey,
                        HKEY_CURRENT_USER);
        reg_.WriteValue(L"CloseAfterStart", c.closeAfter ? L"1" : L"0", REG_SZ, test::kSettingsKey,
                        HKEY_CURRENT_USER);
        test::RecordUsers({{L"123456789", 4, {{L"AwayStatusText", L"old"}}}}, L"123456789");
        test::StandinClient standin(L"StartHandsTheChoice");

        HWND main = Open();
        ASSERT_NE(main, nullptr) << c.name;
        if (!c.typed.empty()) {
            ASSERT_TRUE(gui::SetText(Item(main, IDC_COMB_USER), c.typed)) << c.name;
        }
        ASSERT_TRUE(gui::ComboSelect(Item(main, IDC_IMGCOMB_STATUS), c.status)) << c.name;
        if (c.messageValue) {
            ASSERT_TRUE(test::WaitFor([&] { return gui::IsVisible(Item(main, IDC_TXT_STATUS_TEXT)); }))
                << c.name;
            ASSERT_TRUE(gui::SetText(Item(main, IDC_TXT_STATUS_TEXT), c.message)) << c.name;
        }
        ASSERT_TRUE(gui::Click(Item(main, IDC_CBTN_START))) << c.name;

        if (c.direct) {
            // The start takes at least the login pause: the wait window shows meanwhile.
            HWND wait = gui::WaitForTopWindow(velmora_.Id(), kWaitWindowClass, nullptr, 5s);
            ASSERT_NE(wait, nullptr) << c.name << ": no wait window";
            EXPECT_EQ(gui::Text(gui::Control(wait, IDC_WAIT_TEXT)),
                      English(L"One Moment please, ICQ Lite is starting"))
                << c.name << ": the wait window is not in the current language";
            EXPECT_EQ(GetWindow(wait, GW_OWNER), main) << c.name;
            EXPECT_NE(GetWindowLongW(wait, GWL_STYLE) & WS_CAPTION, WS_CAPTION)
                << c.name << ": the wait window has a caption";
        }
        ASSERT_TRUE(standin.WaitForLine(L"window")) << c.name << ": the client did not come up\n"
                                                    << standin.Read().Raw();
        if (c.closeAfter) {
            EXPECT_EQ(velmora_.Wait(10s), 0) << c.name << ": Velmora did not end after the start";
            EXPECT_EQ(Setting(L"CloseAfterStart"), L"1") << c.name << ": settings not saved";
            EXPECT_FALSE(Setting(L"frmMain.Left").empty()) << c.name << ": position not saved";
        } else {
            EXPECT_TRUE(test::WaitFor([&] { return gui::IsEnabled(main); }))
                << c.name << ": main window disabled";
            EXPECT_EQ(gui::FindTopWindow(velmora_.Id(), kWaitWindowClass, nullptr), nullptr)
                << c.name << ": the wait window stayed";
            EXPECT_TRUE(velmora_.Running()) << c.name;
        }
        if (c.direct) {
            EXPECT_TRUE(standin.WaitForLine(L"enter")) << c.name << ": no Enter\n" << standin.Read().Raw();
        }
        ASSERT_TRUE(standin.CloseWindows()) << c.name;
        test::Record record = standin.Read();
        EXPECT_EQ(record.Number(L"LastOwner"), c.owner) << c.name << "\n" << record.Raw();
        EXPECT_EQ(record.Number(L"LastStatus"), c.code) << c.name << "\n" << record.Raw();
        EXPECT_EQ(record.Count(L"enter"), c.direct ? 1u : 0u) << c.name << "\n" << record.Raw();
        if (c.messageValue) {
            EXPECT_EQ(record.First(c.messageValue).value_or(L"<none>"), c.message) << c.name << "\n"
                                                                                   << record.Raw();
        }
        if (!c.closeAfter) {
            gui::Close(main);
            EXPECT_EQ(velmora_.Wait(10s), 0) << c.name;
        }
    }
}

TEST_F(MainWindowE2E, NumbersThatAreNoNumbersAreRefusedAndNothingIsWritten) {
    test::StandinInstall install;
    test::RecordUsers({{L"44556677", 0, {}}}, L"44556677");
    test::StandinClient standin(L"Refused");
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    struct Case {
        const wchar_t* typed;
        const wchar_t* message;
        gui::MessageIcon icon;
    };
    const Case cases[] = {
        {L"", L"You have to enter a ICQ Number first", gui::MessageIcon::Information},
        {L"0", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
        {L"---", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
        {L"12a", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
        {L"2147483648", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
        {L"+5", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
        {L"1.5", L"The ICQ number is invalid", gui::MessageIcon::Exclamation},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(gui::SetText(Item(main, IDC_COMB_USER), c.typed)) << Narrow(c.typed);
        ASSERT_TRUE(gui::Click(Item(main, IDC_CBTN_START))) << Narrow(c.typed);
        auto box = gui::WaitForMessageBox(velmora_.Id());
        ASSERT_TRUE(box) << Narrow(c.typed) << ": no message";
        EXPECT_EQ(box->text, c.message) << Narrow(c.typed) << ": " << Narrow(box->text);
        EXPECT_EQ(box->caption, L"Velmora") << Narrow(c.typed);
        EXPECT_EQ(box->icon, c.icon) << Narrow(c.typed) << ": " << gui::IconName(box->icon);
        EXPECT_EQ(box->buttonIds, std::vector<int>{IDOK}) << Narrow(c.typed);
        ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
        ASSERT_TRUE(test::WaitFor([&] { return !gui::FindMessageBox(velmora_.Id()); }));
        EXPECT_TRUE(gui::IsEnabled(main)) << Narrow(c.typed);
    }
    // Nothing reached the client's data, and no client was started.
    EXPECT_EQ(reg_.ReadValue(L"LastOwner", icqlite::kOwnersKey, HKEY_CURRENT_USER).AsText(), L"44556677");
    EXPECT_EQ(reg_.EnumKeys(L"Software\\Mirabilis\\ICQ\\NewOwners", HKEY_LOCAL_MACHINE, icqlite::kClientView),
              std::vector<std::wstring>{L"44556677"});
    EXPECT_EQ(test::Record::Load(standin.RecordPath()).Raw(), "") << "the client was started";
    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

TEST_F(MainWindowE2E, AClientThatCannotStartShowsTheReportAndLeavesTheWindowUsable) {
    test::ScratchKey appPaths32{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    reg_.WriteValue(L"", L"C:\\nowhere\\ICQLite.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                    RegView::View32);
    reg_.WriteValue(L"LiteBuildId", L"4711 test build", REG_SZ, L"Software\\Mirabilis\\ICQ\\DefaultPrefs",
                    HKEY_LOCAL_MACHINE, icqlite::kClientView);
    reg_.WriteValue(L"DirectLogin", L"0", REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
    test::RecordUsers({{L"44556677", 0, {}}}, L"44556677");
    HWND main = Open();
    ASSERT_NE(main, nullptr);

    HWND report = nullptr;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        if (report) // so that the second report can be told from the first
            SendMessageW(gui::Control(report, err::IDC_ERR_TEXT), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L""));
        ASSERT_TRUE(gui::Click(Item(main, IDC_CBTN_START))) << "attempt " << attempt;
        HWND window = gui::WaitForTopWindow(velmora_.Id(), err::kErrorWindowClass, nullptr);
        ASSERT_NE(window, nullptr) << "attempt " << attempt << ": no report window";
        if (report) {
            EXPECT_EQ(window, report) << "a second report window opened";
        }
        report = window;
        std::wstring text;
        ASSERT_TRUE(test::WaitFor([&] {
            text = gui::Text(gui::Control(report, err::IDC_ERR_TEXT));
            return text.find(L"frmMain.cbtnStart_Click") != std::wstring::npos;
        })) << Narrow(text);
        EXPECT_EQ(gui::TopWindows(velmora_.Id(), err::kErrorWindowClass).size(), 1u);
        // Before the report shows, the start has been wound up.
        EXPECT_TRUE(gui::IsEnabled(main)) << "attempt " << attempt << ": the main window stayed disabled";
        EXPECT_EQ(gui::FindTopWindow(velmora_.Id(), kWaitWindowClass, nullptr), nullptr)
            << "attempt " << attempt << ": the wait window stayed";
        size_t shell = text.find(L"Call Stack: clsStarter.CheckPath"); // the path is checked first
        size_t start = text.find(L"Call Stack: clsStarter.StartICQ");
        size_t click = text.find(L"Call Stack: frmMain.cbtnStart_Click");
        EXPECT_TRUE(shell != std::wstring::npos && start > shell && click > start &&
                    click != std::wstring::npos)
            << "call stack out of order:\n"
            << Narrow(text);
        EXPECT_EQ(text.find(L"frmMain.cbtnStart_Click"), text.rfind(L"frmMain.cbtnStart_Click"))
            << "the earlier report was kept:\n"
            << Narrow(text);
        const std::wstring build = L"\r\nICQ Lite Build: 4711 test build";
        EXPECT_TRUE(text.ends_with(build)) << Narrow(text);
    }
    gui::Close(report);
    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

// ---- keyboard ----

TEST_F(MainWindowE2E, KeyboardReachesEveryControlEnterStartsEscIsHarmless) {
    test::StandinInstall install;
    test::RecordUsers({{L"44556677", 1, {{L"AwayStatusText", L"x"}}}}, L"44556677");
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(test::WaitFor([&] { return FocusedId(main) == IDC_COMB_USER; }))
        << "the focus starts at " << FocusedId(main);
    const int order[] = {IDC_IMGCOMB_STATUS,   IDC_TXT_STATUS_TEXT, IDC_CBTN_START, IDC_CBTN_SETTINGS,
                         IDC_CBTN_NEW_VERSION, IDC_CBTN_INFO,       IDC_COMB_USER};
    for (int expected : order) {
        PostMessageW(FocusedWindow(main), WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(test::WaitFor([&] { return FocusedId(main) == expected; }, 3s))
            << "Tab led to " << FocusedId(main) << " instead of " << expected;
    }
    // Esc has nothing to cancel: the window stays and keeps working.
    PostMessageW(FocusedWindow(main), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(FocusedWindow(main), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(test::WaitFor([&] { return FocusedId(main) == IDC_IMGCOMB_STATUS; }, 3s));
    EXPECT_TRUE(IsWindow(main) && velmora_.Running()) << "Esc closed the window";
    EXPECT_FALSE(gui::FindMessageBox(velmora_.Id()));

    // Enter presses Start, wherever the focus is in the window.
    ASSERT_TRUE(gui::SetText(Item(main, IDC_COMB_USER), L""));
    PostMessageW(FocusedWindow(main), WM_KEYDOWN, VK_RETURN, 0);
    auto box = gui::WaitForMessageBox(velmora_.Id(), 5s);
    ASSERT_TRUE(box) << "Enter did not start";
    EXPECT_EQ(box->text, L"You have to enter a ICQ Number first");
    gui::AnswerMessageBox(box->hwnd, IDOK);
    gui::Close(main);
    EXPECT_EQ(velmora_.Wait(10s), 0);
}

// ---- where the window opens ----

wchar_t DecimalSeparator() {
    wchar_t separator[8] = L".";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return separator[0];
}

TEST_F(MainWindowE2E, ReopensWhereItWasClosedOrCentredWhenThatCannotBe) {
    test::StandinInstall install;
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    // No recorded users: an empty list, Online chosen, and nothing to report.
    EXPECT_EQ(gui::ComboCount(Item(main, IDC_COMB_USER)), 0);
    EXPECT_EQ(gui::Text(Item(main, IDC_COMB_USER)), L"");
    EXPECT_EQ(gui::ComboSelected(Item(main, IDC_IMGCOMB_STATUS)), 0) << "not Online";
    EXPECT_FALSE(gui::IsVisible(Item(main, IDC_TXT_STATUS_TEXT)));
    EXPECT_EQ(gui::FindTopWindow(velmora_.Id(), err::kErrorWindowClass, nullptr), nullptr);
    const UINT dpi = GetDpiForWindow(main);
    SetWindowPos(main, nullptr, 130, 95, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(test::WaitFor([&] { return gui::WindowRect(main).left == 130; }));
    RECT closedAt = gui::WindowRect(main);
    gui::Close(main);
    ASSERT_EQ(velmora_.Wait(10s), 0);

    const wchar_t separator = DecimalSeparator();
    EXPECT_EQ(Setting(L"frmMain.Left"), FormatTwips(PixelsToTwips(closedAt.left, dpi), separator));
    EXPECT_EQ(Setting(L"frmMain.Top"), FormatTwips(PixelsToTwips(closedAt.top, dpi), separator));

    main = Open();
    ASSERT_NE(main, nullptr);
    RECT reopened = gui::WindowRect(main);
    EXPECT_EQ(reopened.left, closedAt.left);
    EXPECT_EQ(reopened.top, closedAt.top);
    gui::Close(main);
    ASSERT_EQ(velmora_.Wait(10s), 0);

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char* name;
        std::wstring left, top;
    };
    const Case cases[] = {
        {"another number format", std::wstring(L"1500") + (separator == L'.' ? L',' : L'.') + L"5", L"1500"},
        {"off every screen", L"900000", L"1500"},
    };
    for (const Case& c : cases) {
        reg_.WriteValue(L"frmMain.Left", c.left, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
        reg_.WriteValue(L"frmMain.Top", c.top, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
        main = Open();
        ASSERT_NE(main, nullptr) << c.name;
        RECT rc = gui::WindowRect(main);
        PixelPoint centred =
            CentreIn({work.left, work.top, work.right, work.bottom}, rc.right - rc.left, rc.bottom - rc.top);
        EXPECT_EQ(rc.left, centred.x) << c.name;
        EXPECT_EQ(rc.top, centred.y) << c.name;
        gui::Close(main);
        ASSERT_EQ(velmora_.Wait(10s), 0) << c.name;
    }
}

} // namespace
} // namespace velmora
