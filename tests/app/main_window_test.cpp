// The main window of the real velmora.exe, driven as a user would through the GUI driver, with
// the stand-in client installed as the client.
#include "app/main_window_ids.h"
#include "app/window_position.h"
#include "client/icq_lite.h"
#include "errors/show_error_window.h"
#include "support/app.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using namespace app;
using test::Narrow;

class MainWindowE2E : public testing::Test {
protected:
    HWND Item(int id) const { return app_.Item(id); }
    // Picks a listed user as a user would.
    void Choose(const std::wstring& number) {
        auto items = gui::ComboItems(Item(IDC_COMB_USER));
        auto at = std::find(items.begin(), items.end(), number);
        ASSERT_NE(at, items.end()) << Narrow(number) << " is not listed";
        ASSERT_TRUE(gui::ComboSelect(Item(IDC_COMB_USER), static_cast<int>(at - items.begin())));
    }
    struct Shown {
        int selected;
        bool listEnabled, notice, message;
        std::wstring label, text;
    };
    void Expect(const char* step, const Shown& e) {
        SCOPED_TRACE(step);
        HWND list = Item(IDC_IMGCOMB_STATUS);
        EXPECT_TRUE(test::WaitFor([&] { return gui::ComboSelected(list) == e.selected; }, 3s))
            << "selected " << gui::ComboSelected(list) << ", expected " << e.selected;
        EXPECT_EQ(gui::IsEnabled(list), e.listEnabled);
        EXPECT_EQ(gui::IsVisible(Item(IDC_LBL_NOTIFY)), e.notice);
        EXPECT_EQ(gui::IsVisible(Item(IDC_TXT_STATUS_TEXT)), e.message);
        EXPECT_EQ(gui::IsVisible(Item(IDC_LBL_STATUS_TEXT)), e.message);
        if (e.message) {
            EXPECT_EQ(gui::Text(Item(IDC_LBL_STATUS_TEXT)), e.label);
            EXPECT_EQ(gui::Text(Item(IDC_TXT_STATUS_TEXT)), e.text);
        }
        EXPECT_EQ(gui::FindTopWindow(app_.Pid(), err::kErrorWindowClass, nullptr), nullptr) << "a report";
    }
    RegData Stored(const wchar_t* name, const wchar_t* user) const {
        return icqlite::ReadMachineValue(name, icqlite::UserKey(user));
    }

    test::App app_;
};

// What the window shows of each user, chosen from the list or typed; odd stored values neither
// block the window nor bring up a report.
TEST_F(MainWindowE2E, ShowsTheChosenOrTypedUsersStatusAndMessage) {
    const std::wstring longMessage(100000, L'x'); // the edit control would take minutes for this
    test::RecordUsers({{L"123456789", 1, {{L"AwayStatusText", longMessage}}},
                       {L"44556677", 1, {{L"DNDStatusText", L"not read"}}},
                       {L"987654", 256, {}},
                       {L"555", 257, {}},
                       {L"333", 3, {}}},
                      L"123456789");
    app_.reg.WriteValue(L"LastStatus", L"abc", REG_SZ, icqlite::UserKey(L"444"), HKEY_LOCAL_MACHINE,
                        icqlite::kClientView);
    // The client reads the virtual store's copies first (even a LastStatus of 0).
    const std::wstring store = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\" +
                               icqlite::UserKey(L"44556677").substr(9);
    app_.reg.WriteValue(L"LastStatus", 0, REG_DWORD, store, HKEY_CURRENT_USER);
    app_.reg.WriteValue(L"DNDStatusText", L"In a meeting", REG_SZ, store, HKEY_CURRENT_USER);
    app_.reg.WriteValue(L"AwayStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ, store,
                        HKEY_CURRENT_USER);
    app_.reg.WriteValue(L"Probe", L"", REG_SZ, std::wstring(icqlite::kOwnersKey) + L"\\444",
                        HKEY_CURRENT_USER);
    ASSERT_NE(app_.Start(), nullptr);
    EXPECT_EQ(gui::ComboItems(Item(IDC_COMB_USER)),
              app_.reg.EnumKeys(icqlite::kOwnersKey, HKEY_CURRENT_USER));
    EXPECT_EQ(gui::Text(Item(IDC_COMB_USER)), L"123456789");
    // The status names in every language: tests/ui/windows_test.cpp.
    Expect("last owner, Away, a very long message",
           {1, true, false, true, L"Away Message", longMessage.substr(0, 4096)});
    Choose(L"987654");
    Expect("stored 256", {6, false, true, false});
    Choose(L"44556677");
    Expect("Online", {0, true, false, false});
    ASSERT_TRUE(gui::ComboSelect(Item(IDC_IMGCOMB_STATUS), 2));
    Expect("DND chosen", {2, true, false, true, L"DND Message", L"In a meeting"});
    ASSERT_TRUE(gui::ComboSelect(Item(IDC_IMGCOMB_STATUS), 1));
    Expect("Away chosen, its message a list", {1, true, false, true, L"Away Message", L""});
    Choose(L"333");
    Expect("a status the list does not know", {-1, true, false, false});
    Choose(L"444");
    Expect("a status that is no number", {-1, true, false, false});
    // Typing the number of a recorded user shows that user's data, as choosing it does.
    ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), L"98-76-54"));
    Expect("typed, stored 256", {6, false, true, false});
    ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), L"555"));
    Expect("typed, stored 257", {6, false, true, false});
    // The box takes no more than an ICQ number written with dashes and blanks can have.
    ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), L""));
    for (int i = 0; i < 40; ++i)
        PostMessageW(FindWindowExW(Item(IDC_COMB_USER), nullptr, L"Edit", nullptr), WM_CHAR, L'1', 0);
    EXPECT_TRUE(test::WaitFor([&] { return gui::Text(Item(IDC_COMB_USER)) == std::wstring(32, L'1'); }))
        << Narrow(gui::Text(Item(IDC_COMB_USER)));
    EXPECT_EQ(app_.Close(), 0);
}

// What the user did, in order: type a number ('u', key by key, so typing passes through the numbers
// it begins with), pick a status ('s', by its place in the list) or write a message ('m').
struct Step {
    char what;
    std::wstring text;
    int status = -1;
};

TEST_F(MainWindowE2E, StartHandsTheChoiceToTheClient) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        bool direct, closeAfter;
        long long owner, code;
        const wchar_t* messageValue; // what the client reads afterwards
        const wchar_t* expectedMessage;
        bool listMessage = false; // the typed user's Away message is stored as a list of texts
    };
    const Case cases[] = {
        {"Away, direct login, close after start",
         {{'s', L"", 1}, {'m', L"Gone fishing"}},
         true,
         true,
         123456789,
         1,
         L"AwayStatusText",
         L"Gone fishing"},
        {"leading zeros, Free For Chat",
         {{'u', L" 00777 "}, {'s', L"", 5}, {'m', L"Talk to me"}},
         false,
         false,
         777,
         32,
         L"ChatStatusText",
         L"Talk to me"},
        // The other user's message is shown, not the last owner's: it stays as it was.
        {"another recorded user typed, message untouched",
         {{'u', L"555-666"}},
         false,
         false,
         555666,
         1,
         L"AwayStatusText",
         L"theirs"},
        {"a message of another type stays as it is",
         {{'u', L"555666"}},
         false,
         false,
         555666,
         1,
         nullptr,
         nullptr,
         true},
        // A number without records keeps what was chosen, also when typing passed through a recorded one.
        {"DND and a message, then a new number",
         {{'s', L"", 2}, {'m', L"Busy now"}, {'u', L"5556667"}},
         false,
         false,
         5556667,
         2,
         L"DNDStatusText",
         L"Busy now"},
        {"the message shown goes with a new number",
         {{'u', L"4711"}},
         false,
         false,
         4711,
         1,
         L"AwayStatusText",
         L"mine"},
        {"a message written is kept across status switches",
         {{'m', L"typed for Away"}, {'s', L"", 2}, {'s', L"", 1}},
         false,
         false,
         123456789,
         1,
         L"AwayStatusText",
         L"typed for Away"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::App app;
        app.SetSetting(L"DirectLogin", c.direct ? L"1" : L"0");
        app.SetSetting(L"CloseAfterStart", c.closeAfter ? L"1" : L"0");
        test::RecordUsers({{L"123456789", 1, {{L"AwayStatusText", L"mine"}}},
                           {L"555666", 1, {{L"AwayStatusText", L"theirs"}}}},
                          L"123456789");
        if (c.listMessage)
            app.reg.WriteValue(L"AwayStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ,
                               icqlite::UserKey(L"555666"), HKEY_LOCAL_MACHINE, icqlite::kClientView);
        test::StandinClient standin(L"StartHandsTheChoice");
        HWND main = app.Start();
        ASSERT_NE(main, nullptr);
        for (const Step& step : c.steps) {
            if (step.what == 'u')
                for (size_t typed = 1; typed <= step.text.size(); ++typed)
                    ASSERT_TRUE(gui::SetText(app.Item(IDC_COMB_USER), step.text.substr(0, typed)));
            if (step.what == 's')
                ASSERT_TRUE(gui::ComboSelect(app.Item(IDC_IMGCOMB_STATUS), step.status));
            if (step.what == 'm') {
                ASSERT_TRUE(test::WaitFor([&] { return gui::IsVisible(app.Item(IDC_TXT_STATUS_TEXT)); }));
                ASSERT_TRUE(gui::SetText(app.Item(IDC_TXT_STATUS_TEXT), step.text));
            }
        }
        ASSERT_TRUE(gui::Click(app.Item(IDC_CBTN_START)));
        if (c.direct) { // the start takes at least the login pause: the wait window shows meanwhile
            HWND wait = app.Window(kWaitWindowClass, 5s);
            ASSERT_NE(wait, nullptr) << "no wait window";
            EXPECT_EQ(gui::Text(gui::Control(wait, IDC_WAIT_TEXT)),
                      test::Shipped(L"English", L"One Moment please, ICQ Lite is starting"));
            EXPECT_EQ(GetWindow(wait, GW_OWNER), main);
            EXPECT_NE(GetWindowLongW(wait, GWL_STYLE) & WS_CAPTION, WS_CAPTION)
                << "the wait window has a caption";
        }
        ASSERT_TRUE(standin.WaitForLine(L"window")) << "the client did not come up\n" << standin.Read().Raw();
        if (c.closeAfter) {
            EXPECT_EQ(app.Process().Wait(10s), 0) << "Velmora did not end after the start";
            EXPECT_EQ(app.Setting(L"CloseAfterStart"), L"1") << "settings not saved";
            EXPECT_FALSE(app.Setting(L"frmMain.Left").empty()) << "position not saved";
        } else {
            // The window takes input again just before the wait window goes.
            EXPECT_TRUE(test::WaitFor([&] {
                return gui::IsEnabled(main) && !gui::FindTopWindow(app.Pid(), kWaitWindowClass, nullptr);
            })) << "main window disabled, or the wait window stayed";
        }
        if (c.direct)
            EXPECT_TRUE(standin.WaitForLine(L"enter")) << "no Enter\n" << standin.Read().Raw();
        ASSERT_TRUE(standin.CloseWindows());
        test::Record record = standin.Read();
        EXPECT_EQ(record.Number(L"LastOwner"), c.owner) << record.Raw();
        EXPECT_EQ(record.Number(L"LastStatus"), c.code) << record.Raw();
        EXPECT_EQ(record.Count(L"enter"), c.direct ? 1u : 0u) << record.Raw();
        if (c.messageValue)
            EXPECT_EQ(record.First(c.messageValue).value_or(L"<none>"), c.expectedMessage) << record.Raw();
        if (c.listMessage)
            EXPECT_TRUE(Stored(L"AwayStatusText", L"555666").IsList()) << "overwritten";
        if (!c.closeAfter)
            EXPECT_EQ(app.Close(), 0);
    }
}

// Refused before anything is written: no number, no ICQ number, no status; and a client that is not
// where App Paths says ends in the report, after the window took input again and the wait window went.
TEST_F(MainWindowE2E, WhatCannotBeStartedIsToldAndNothingIsWritten) {
    test::RecordUsers({{L"44556677", 0, {}}, {L"333", 3, {}}}, L"44556677");
    test::StandinClient standin(L"Refused");
    ASSERT_NE(app_.Start(), nullptr);
    struct Case {
        const wchar_t* typed;
        const wchar_t* message;
        gui::MessageIcon icon;
    };
    const Case cases[] = {
        {L"", L"You have to enter a ICQ Number first", gui::MessageIcon::Information},
        {L"12a", L"The ICQ number is invalid", gui::MessageIcon::Exclamation}, // the others: IcqNumber
        {L"333", L"Choose a Status", gui::MessageIcon::Information},           // its stored status is unknown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.typed));
        ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), c.typed));
        ASSERT_TRUE(gui::Click(Item(IDC_CBTN_START)));
        auto box = app_.Message();
        ASSERT_TRUE(box) << "no message";
        EXPECT_EQ(box->text, c.message) << Narrow(box->text);
        EXPECT_EQ(box->caption, L"Velmora");
        EXPECT_EQ(box->icon, c.icon) << Narrow(gui::IconName(box->icon));
        EXPECT_EQ(box->buttonIds, std::vector<int>{IDOK});
        ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
        ASSERT_TRUE(
            test::WaitFor([&] { return !gui::FindMessageBox(app_.Pid()) && gui::IsEnabled(app_.Main()); }));
    }

    app_.reg.WriteValue(L"", L"C:\\nowhere\\ICQLite.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                        RegView::View32);
    ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), L"4711")); // not recorded: Online
    ASSERT_TRUE(gui::Click(Item(IDC_CBTN_START)));
    HWND report = app_.Window(err::kErrorWindowClass);
    ASSERT_NE(report, nullptr) << "no report window";
    std::wstring text;
    EXPECT_TRUE(test::WaitFor([&] {
        return (text = gui::Text(gui::Control(report, err::IDC_ERR_TEXT)))
                   .find(L"Call Stack: frmMain.cbtnStart_Click") != std::wstring::npos;
    })) << Narrow(text);
    EXPECT_TRUE(gui::IsEnabled(app_.Main())) << "the main window stayed disabled";
    EXPECT_EQ(gui::FindTopWindow(app_.Pid(), kWaitWindowClass, nullptr), nullptr) << "the wait window stayed";
    gui::Close(report);
    EXPECT_EQ(icqlite::LastUser(), L"44556677");
    EXPECT_EQ(test::Record::Load(standin.RecordPath()).Raw(), "") << "the client was started";
    EXPECT_EQ(app_.Close(), 0);
}

// Whatever happens while the client is being started, it is started once: clicks and keys given
// meanwhile are dropped, a close waits for the end of the start, and the window does not take the
// foreground back from the program the user went to.
TEST_F(MainWindowE2E, OneStartWhateverHappensDuringIt) {
    app_.SetSetting(L"DirectLogin", L"1");
    test::RecordUsers({{L"4711", 0, {}}}, L"4711");
    // The start waits for the client's window for seconds: time for all of the following.
    test::StandinClient standin(L"OneStart", {.windowDelayMs = 3500});
    ASSERT_NE(app_.Start(), nullptr);
    ASSERT_TRUE(gui::Click(Item(IDC_CBTN_START)));
    ASSERT_NE(app_.Window(kWaitWindowClass, 5s), nullptr);
    HWND start = Item(IDC_CBTN_START);
    PostMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(start, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(Item(IDC_COMB_USER), WM_KEYDOWN, VK_RETURN, 0);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app_.Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(IsWindow(app_.Main())) << "closed while the start was still going on";
    test::FocusBystander bystander(L"OneStart");
    ASSERT_TRUE(bystander.Ready());
    ASSERT_TRUE(app_.Process().Running()) << "the start was over before the bystander came";

    EXPECT_EQ(app_.Process().Wait(15s), 0) << "no orderly end after the start";
    EXPECT_TRUE(standin.WaitForLine(L"enter")) << standin.Read().Raw();
    EXPECT_EQ(standin.Read().Count(L"pid"), 1u) << "started twice:\n" << standin.Read().Raw();
    EXPECT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground was taken back";
    EXPECT_FALSE(app_.Setting(L"frmMain.Left").empty()) << "the close did not save the position";
}

// Esc on the wait window gives the wait for the login window up: nothing is pressed, the client runs
// on, and the user is told that the login was not done.
TEST_F(MainWindowE2E, TheWaitForTheLoginWindowCanBeGivenUp) {
    app_.SetSetting(L"DirectLogin", L"1");
    test::RecordUsers({{L"4711", 0, {}}}, L"4711");
    test::StandinClient standin(L"GivenUp", {.noWindow = true});
    ASSERT_NE(app_.Start(), nullptr);
    ASSERT_TRUE(gui::Click(Item(IDC_CBTN_START)));
    HWND wait = app_.Window(kWaitWindowClass, 5s);
    ASSERT_TRUE(wait && standin.WaitForLine(L"recorded")) << "no wait window, or no client";
    PostMessageW(gui::Control(wait, IDC_WAIT_CANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
    auto box = app_.Message();
    ASSERT_TRUE(box) << "nothing told";
    EXPECT_EQ(box->text, L"ICQ Lite was started, but the automatic login was not done.\r\n\r\nReason: The "
                         L"automatic login was cancelled.");
    EXPECT_EQ(box->icon, gui::MessageIcon::Exclamation);
    ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    EXPECT_TRUE(test::WaitFor([&] { return gui::IsEnabled(app_.Main()) && !IsWindow(wait); }));
    EXPECT_EQ(test::CountProcesses(L"standin_client.exe"), 1u) << "the client does not run on";
    EXPECT_EQ(standin.Read().Count(L"enter"), 0u);
    EXPECT_EQ(app_.Close(), 0);
}

TEST_F(MainWindowE2E, KeyboardReachesEveryControlEnterStartsEscIsHarmless) {
    test::RecordUsers({{L"44556677", 1, {{L"AwayStatusText", L"x"}}}}, L"44556677");
    HWND main = app_.Start();
    ASSERT_NE(main, nullptr);
    auto focused = [&] {
        GUITHREADINFO info{sizeof(info)};
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        HWND hwnd = info.hwndFocus;
        while (hwnd && GetParent(hwnd) != main)
            hwnd = GetParent(hwnd);
        return std::pair(info.hwndFocus, hwnd ? GetDlgCtrlID(hwnd) : 0);
    };
    ASSERT_TRUE(test::WaitFor([&] { return focused().second == IDC_COMB_USER; })) << focused().second;
    for (int expected : {IDC_IMGCOMB_STATUS, IDC_TXT_STATUS_TEXT, IDC_CBTN_START, IDC_CBTN_SETTINGS,
                         IDC_CBTN_NEW_VERSION, IDC_CBTN_INFO, IDC_COMB_USER}) {
        PostMessageW(focused().first, WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(test::WaitFor([&] { return focused().second == expected; }, 3s))
            << "Tab led to " << focused().second << " instead of " << expected;
    }
    // Esc has nothing to cancel: the window stays and keeps working.
    PostMessageW(focused().first, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(focused().first, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(test::WaitFor([&] { return focused().second == IDC_IMGCOMB_STATUS; }, 3s));
    EXPECT_TRUE(IsWindow(main) && app_.Process().Running()) << "Esc closed the window";
    // Enter makes a new line in the message and starts nothing; in the user box it presses Start.
    PostMessageW(Item(IDC_TXT_STATUS_TEXT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(test::WaitFor([&] {
        return gui::Text(Item(IDC_TXT_STATUS_TEXT)).find(L"\r\n") != std::wstring::npos;
    })) << "no line break: "
        << Narrow(gui::Text(Item(IDC_TXT_STATUS_TEXT)));
    EXPECT_FALSE(app_.Message(300ms)) << "Enter in the message started";
    ASSERT_TRUE(gui::SetText(Item(IDC_COMB_USER), L""));
    PostMessageW(FindWindowExW(Item(IDC_COMB_USER), nullptr, L"Edit", nullptr), WM_KEYDOWN, VK_RETURN, 0);
    auto box = app_.Message(5s);
    ASSERT_TRUE(box) << "Enter did not start";
    EXPECT_EQ(box->text, L"You have to enter a ICQ Number first");
    gui::AnswerMessageBox(box->hwnd, IDOK);
    EXPECT_EQ(app_.Close(), 0);
}

} // namespace
} // namespace velmora
