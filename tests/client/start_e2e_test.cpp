// The client's data and the start as a user meets them in the real velmora.exe.
#include "client/client_fixture.h"

#include "app/main_window_ids.h"
#include "errors/show_error_window.h"
#include "gui_driver/gui_driver.h"

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;
using namespace app;

// Users that are no numbers and a "LastOwner" above 2147483647 are not shown; status and message
// come from the virtual-store copies, a message of the wrong type is none; a start updates every
// copy; a second start while the client runs is refused and leaves the window usable.
TEST_F(ClientTest, TheWindowShowsWhatTheClientReadsAndStartUpdatesEveryCopy) {
    ScratchKey settings{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    for (auto [name, value] :
         {std::pair{L"Language", L"English"}, {L"CloseAfterStart", L"0"}, {L"DirectLogin", L"0"}})
        reg_.WriteValue(name, value, REG_SZ, kSettingsKey, HKEY_CURRENT_USER);
    StandinInstall install;
    const std::wstring user222 = icqlite::UserKey(L"222");
    RecordUsers({{L"-5"}, {L"111"}, {L"12x"}, {L"222", 1, {{L"AwayStatusText", L"machine"}}}, {L"333", 1}},
                L"-1");
    Put(Place::Store, L"LastStatus", 2, REG_DWORD, user222);
    Put(Place::Store, L"DNDStatusText", L"from the store", REG_SZ, user222);
    Put(Place::Machine, L"AwayStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ,
        icqlite::UserKey(L"333"));
    StandinClient standin(L"every-copy", {.noWindow = true});
    ChildProcess velmora = ChildProcess::Start(BinDir() + L"\\velmora.exe");
    HWND main = gui::WaitForTopWindow(velmora.Id(), kMainWindowClass, kMainWindowTitle);
    ASSERT_NE(main, nullptr);
    HWND users = gui::Control(main, IDC_COMB_USER), list = gui::Control(main, IDC_IMGCOMB_STATUS),
         message = gui::Control(main, IDC_TXT_STATUS_TEXT), start = gui::Control(main, IDC_CBTN_START);
    ASSERT_TRUE(WaitFor([&] { return gui::ComboCount(list) == 7; }));
    EXPECT_EQ(gui::ComboItems(users), (std::vector<std::wstring>{L"111", L"222", L"333"}));
    EXPECT_EQ(gui::Text(users), L"") << "LastOwner 0xFFFFFFFF taken for a user";
    // 333: Away, with a list for its message; 222: DND and its message, from the store.
    for (auto [index, status, text] : {std::tuple{2, 1, L""}, {1, 2, L"from the store"}}) {
        ASSERT_TRUE(gui::ComboSelect(users, index));
        EXPECT_TRUE(WaitFor([&] { return gui::ComboSelected(list) == status; }, 3s)) << "user " << index;
        EXPECT_EQ(gui::Text(message), text) << "user " << index;
    }

    ASSERT_TRUE(gui::SetText(message, L"new text"));
    ASSERT_TRUE(gui::Click(start));
    ASSERT_TRUE(standin.WaitForLine(L"recorded")) << "the client did not start";
    EXPECT_TRUE(WaitFor([&] { return gui::IsEnabled(main); }));
    ASSERT_TRUE(gui::SetText(message, L"second"));
    ASSERT_TRUE(gui::Click(start));
    auto box = gui::WaitForMessageBox(velmora.Id());
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, L"ICQ Lite is already running. Please close it first, then start it again here.");
    gui::AnswerMessageBox(box->hwnd, IDOK);
    EXPECT_TRUE(WaitFor([&] { return gui::IsEnabled(main) && !gui::FindMessageBox(velmora.Id()); }));
    for (Place place : {Place::Machine, Place::Store}) {
        EXPECT_EQ(Get(place, L"LastStatus", user222).AsNumber(), 2);
        EXPECT_EQ(Get(place, L"DNDStatusText", user222).AsText(), L"new text");
    }
    EXPECT_FALSE(gui::FindTopWindow(velmora.Id(), err::kErrorWindowClass, nullptr)) << "an error report";
    gui::Close(main);
    EXPECT_EQ(velmora.Wait(10s), 0);
}
