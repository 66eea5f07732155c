// The client's data and the start as a user meets them in the real velmora.exe: odd values the
// client may hold, copies in the virtual store, and clients that cannot or must not be started.
#include "client/client_fixture.h"

#include "app/error_presenter.h"
#include "app/main_window_ids.h"
#include "errors/show_error_window.h"
#include "gui_driver/gui_driver.h"

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;
using namespace app;

namespace {

class StartE2E : public ClientTest {
protected:
    void Configure(bool direct) {
        settings_.Clear();
        for (auto [name, value] : {std::pair(L"Language", L"English"), std::pair(L"CloseAfterStart", L"0"),
                                   std::pair(L"DirectLogin", direct ? L"1" : L"0")})
            reg_.WriteValue(name, value, REG_SZ, kSettingsKey, HKEY_CURRENT_USER);
    }
    // Starts velmora.exe and waits until its main window is shown and its lists are filled.
    HWND Open() {
        velmora_ = ChildProcess::Start(BinDir() + L"\\velmora.exe");
        HWND main = gui::WaitForTopWindow(velmora_.Id(), kMainWindowClass, kMainWindowTitle);
        if (main)
            EXPECT_TRUE(
                WaitFor([&] { return gui::ComboCount(gui::Control(main, IDC_IMGCOMB_STATUS)) == 7; }));
        return main;
    }
    bool Reported() const { return gui::FindTopWindow(velmora_.Id(), err::kErrorWindowClass, nullptr); }
    void Close(HWND main) {
        gui::Close(main);
        EXPECT_EQ(velmora_.Wait(10s), 0);
    }

    ScratchKey settings_{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    ChildProcess velmora_;
};

} // namespace

// Values a real machine can hold: users that are no numbers, a "LastOwner" above 2147483647, an
// empty status, a message of the wrong type, and the values the client keeps in the virtual store.
TEST_F(StartE2E, TheWindowShowsWhatTheClientReadsAndStartUpdatesEveryCopy) {
    StandinInstall install;
    Configure(false);
    RecordUsers({{L"-5"}, {L"111"}, {L"12x"}, {L"222", 1, {{L"AwayStatusText", L"machine"}}}, {L"333", 1}},
                L"-1");
    Put(Place::Machine, L"LastStatus", L"", REG_SZ, icqlite::UserKey(L"111"));
    Put(Place::Store, L"LastStatus", 2, REG_DWORD, icqlite::UserKey(L"222"));
    Put(Place::Store, L"DNDStatusText", L"from the store", REG_SZ, icqlite::UserKey(L"222"));
    Put(Place::Machine, L"AwayStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ,
        icqlite::UserKey(L"333"));
    StandinClient standin(L"every-copy", {.noWindow = true});
    HWND main = Open();
    ASSERT_NE(main, nullptr);
    HWND list = gui::Control(main, IDC_IMGCOMB_STATUS), message = gui::Control(main, IDC_TXT_STATUS_TEXT);
    EXPECT_EQ(gui::ComboItems(gui::Control(main, IDC_COMB_USER)),
              (std::vector<std::wstring>{L"111", L"222", L"333"}));
    EXPECT_EQ(gui::Text(gui::Control(main, IDC_COMB_USER)), L"") << "LastOwner 0xFFFFFFFF taken for a user";
    struct Step {
        int user, status;       // indexes in the lists
        const wchar_t* message; // nullptr: no message box
    } steps[] = {{0, 0, nullptr}, {2, 1, L""}, {1, 2, L"from the store"}};
    for (const auto& s : steps) {
        ASSERT_TRUE(gui::ComboSelect(gui::Control(main, IDC_COMB_USER), s.user));
        EXPECT_TRUE(WaitFor([&] { return gui::ComboSelected(list) == s.status; }, 3s)) << "user " << s.user;
        EXPECT_EQ(gui::IsVisible(message), s.message != nullptr) << "user " << s.user;
        if (s.message)
            EXPECT_EQ(gui::Text(message), s.message) << "user " << s.user;
        ASSERT_FALSE(Reported()) << "user " << s.user << ": an error report";
    }

    ASSERT_TRUE(gui::SetText(message, L"new text"));
    ASSERT_TRUE(gui::Click(gui::Control(main, IDC_CBTN_START)));
    ASSERT_TRUE(standin.WaitForLine(L"recorded")) << "the client did not start";
    EXPECT_TRUE(WaitFor([&] { return gui::IsEnabled(main); }));
    for (Place place : {Place::Machine, Place::Store}) {
        EXPECT_EQ(Get(place, L"LastStatus", icqlite::UserKey(L"222")).AsNumber(), 2);
        EXPECT_EQ(Get(place, L"DNDStatusText", icqlite::UserKey(L"222")).AsText(), L"new text");
    }
    EXPECT_FALSE(Reported());
    Close(main);
}

// Before anything is written the client's path must name a program, and the client must not run
// already (unless it may run twice); a client that ends at once with a failure is told.
TEST_F(StartE2E, StartChecksTheClientBeforeWritingAnything) {
    const std::wstring dir = FreshTempDir(L"start-checks"), standin = StandinClient::ExePath();
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\ICQLite.exe").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\copy").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(standin.c_str(), (dir + L"\\copy\\standin_client.exe").c_str(), FALSE));
    WriteBytes(dir + L"\\text.exe", "plain text, no program");
    std::wstring upper = standin;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    enum Running { None, Same, Copy };
    struct Case {
        const char* name;
        std::wstring path;
        Running running;
        bool multiInstance, direct;
        unsigned exitCode;
        int32_t report;         // error number of the report; 0: none
        const wchar_t* message; // the message shown; nullptr: none
        bool started;           // Velmora started a client, after writing the values
    } cases[] = {
        {"no file", dir + L"\\ICQLite2.exe", None, false, false, 0, 53, nullptr, false},
        {"a folder", dir + L"\\ICQLite.exe", None, false, false, 0, 53, nullptr, false},
        {"not a program", dir + L"\\text.exe", None, false, false, 0, 5, nullptr, false},
        {"2,000 characters", dir + L"\\" + std::wstring(2000, L'a') + L".exe", None, false, false, 0, 53,
         nullptr, false},
        {"100,000 characters", L"C:\\" + std::wstring(100000, L'a'), None, false, false, 0, 53, nullptr,
         false},
        {"running (path in other case)", upper, Same, false, false, 0, 0,
         L"ICQ Lite is already running. Please close it first, then start it again here.", false},
        {"running, may run twice", upper, Same, true, false, 0, 0, nullptr, true},
        {"a copy elsewhere runs", standin, Copy, false, false, 0, 0, nullptr, true},
        {"ends at once, exit code 3", standin, None, false, true, 3, 0,
         L"ICQ Lite ended right after it was started.\r\n\r\nExit code: 3", true},
    };
    ScratchKey appPaths{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        userKeys_.Clear();
        machineKeys_.Clear();
        Configure(c.direct);
        RecordUsers({{L"44556677", 0}}, L"44556677");
        if (c.multiInstance)
            Put(Place::Machine, L"MultiInstance", L"Yes", REG_SZ, icqlite::kDefaultPrefsKey);
        reg_.WriteValue(L"", c.path, REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
        StandinClient before(L"before", {.noWindow = true});
        ChildProcess running;
        if (c.running != None) {
            running = ChildProcess::Start(c.running == Same ? standin : dir + L"\\copy\\standin_client.exe");
            ASSERT_TRUE(before.WaitForLine(L"recorded"));
        }
        StandinClient started(
            L"started", {.noWindow = true, .lifetimeMs = c.exitCode ? 200u : 30000u, .exitCode = c.exitCode});

        HWND main = Open();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(gui::SetText(gui::Control(main, IDC_COMB_USER), L"4711"));
        ASSERT_TRUE(gui::ComboSelect(gui::Control(main, IDC_IMGCOMB_STATUS), 1));
        ASSERT_TRUE(gui::Click(gui::Control(main, IDC_CBTN_START)));
        if (c.report) {
            HWND report = gui::WaitForTopWindow(velmora_.Id(), err::kErrorWindowClass, nullptr, 20s);
            ASSERT_NE(report, nullptr) << "no report";
            std::wstring text = gui::Text(gui::Control(report, err::IDC_ERR_TEXT));
            for (std::wstring part : {L"Number: " + std::to_wstring(c.report) + L" =",
                                      std::wstring(L"Call Stack: clsStarter.CheckPath(strPath=")})
                EXPECT_NE(text.find(part), std::wstring::npos) << Narrow(part) << " not in\n"
                                                               << Narrow(text.substr(0, 2000));
            gui::Close(report);
        } else if (c.message) {
            auto box = gui::WaitForMessageBox(velmora_.Id());
            ASSERT_TRUE(box) << "no message";
            EXPECT_EQ(box->text, c.message) << Narrow(box->text);
            gui::AnswerMessageBox(box->hwnd, IDOK);
        }
        if (c.started)
            EXPECT_TRUE(started.WaitForLine(L"recorded")) << "the client was not started";
        EXPECT_TRUE(WaitFor([&] { return gui::IsEnabled(main) && !gui::FindMessageBox(velmora_.Id()); }));
        EXPECT_FALSE(Reported() && !c.report) << "an error report";
        if (!c.started)
            EXPECT_EQ(CountProcesses(L"standin_client.exe"), c.running == None ? 0u : 1u)
                << "a client was started";
        EXPECT_EQ(icqlite::LastUser(), c.started ? L"4711" : L"44556677");
        EXPECT_EQ(reg_.KeyExists(icqlite::UserKey(L"4711"), HKEY_LOCAL_MACHINE, RegView::View32), c.started);
        Close(main);
    }
}

TEST(StartMessages, NameTheExitCodeAsTheSystemKnowsIt) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"1", L"Exit code: 1"},
        {L"65535", L"Exit code: 65535"},
        {L"3221225781", L"Exit code: 3221225781 (0xC0000135)"}};
    for (auto [code, expected] : cases) {
        std::wstring text = UserMessageText({ERR_CLIENT_ENDED_AT_START, L"", L"", {}, 0, 0, 0, {code}});
        EXPECT_TRUE(text.ends_with(expected)) << Narrow(text);
    }
}
