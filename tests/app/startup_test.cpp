// Start-up and end of the real velmora.exe: refused without the client, one per session, and what
// reaches the settings key on each way out (closed, session ended, killed, key read-only).
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "platform/handles.h"
#include "support/app.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <set>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using test::Narrow;

// Odd texts read as the Booleans' defaults; what the end of the program writes back instead.
const std::pair<const wchar_t*, const wchar_t*> kOdd[] = {
    {L"CloseAfterStart", L"-1"}, {L"DirectLogin", L"yes"}, {L"ExtStatus", L"2x"}};
const wchar_t* const kSaved[] = {L"1", L"1", L"0"};

// The DLLs loaded in a running process, lower case.
std::vector<std::wstring> LoadedModules(DWORD pid) {
    std::vector<std::wstring> names;
    platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    MODULEENTRY32W entry{sizeof(entry)};
    for (BOOL ok = Module32FirstW(snapshot.get(), &entry); ok; ok = Module32NextW(snapshot.get(), &entry)) {
        names.push_back(entry.szModule);
        CharLowerBuffW(names.back().data(), static_cast<DWORD>(names.back().size()));
    }
    return names;
}

TEST(Startup, WithoutTheClientItSaysSoAndEnds) {
    test::App app;
    app.reg.DeleteKey(icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
    app.Process() = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
    auto box = app.Message();
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->text, L"ICQ Lite is not installed on this computer. Please install ICQ Lite first");
    EXPECT_EQ(box->caption, L"Velmora");
    EXPECT_EQ(box->icon, gui::MessageIcon::Stop) << Narrow(gui::IconName(box->icon));
    EXPECT_EQ(box->buttonIds, std::vector<int>{IDOK});
    for (HWND hwnd : gui::TopWindows(app.Pid())) // the box is all the program shows
        EXPECT_TRUE(hwnd == box->hwnd || !IsWindowVisible(hwnd)) << Narrow(gui::ClassName(hwnd));
    ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    EXPECT_EQ(app.Process().Wait(10s), 0) << "the process did not end after OK";
    for (const wchar_t* name : {L"CloseAfterStart", L"frmMain.Left"})
        EXPECT_EQ(app.Setting(name), L"") << Narrow(name) << " was written";
}

// Closing the window, and the end of the session (Windows may end the process right after it),
// write the position and the settings; nothing before; the next start opens where the window was
// (stored places that cannot be used: the placement's unit tests). The DLLs only the error report
// needs are not loaded for the main window (not ole32: Wine loads it into every window; nor shell32,
// which gives the program its application ID before the first window).
TEST(Startup, AnOrderlyEndSavesPositionAndSettingsAndTheNextStartReopensThere) {
    for (bool sessionEnd : {false, true}) {
        SCOPED_TRACE(sessionEnd ? "session end" : "close");
        test::App app;
        for (auto [name, text] : kOdd)
            app.SetSetting(name, text);
        HWND main = app.Start();
        ASSERT_NE(main, nullptr);
        SetWindowPos(main, nullptr, 130, 95, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(test::WaitFor([&] { return gui::WindowRect(main).left == 130; }));
        std::vector<std::wstring> modules = LoadedModules(app.Pid());
        EXPECT_NE(std::find(modules.begin(), modules.end(), L"user32.dll"), modules.end());
        EXPECT_EQ(std::find(modules.begin(), modules.end(), L"oleaut32.dll"), modules.end())
            << "oleaut32 loaded";
        EXPECT_EQ(app.Setting(L"frmMain.Left") + app.Setting(L"DirectLogin"), L"yes")
            << "written before the end";
        auto saved = [&] {
            for (size_t i = 0; i < std::size(kOdd); ++i)
                EXPECT_EQ(app.Setting(kOdd[i].first), kSaved[i]) << Narrow(kOdd[i].first);
            EXPECT_NE(app.Setting(L"frmMain.Left"), L"");
        };
        if (sessionEnd) { // checked before the close, which would save them too
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                            &answer));
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the program would not let the session end";
            ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                            &answer));
            saved();
            EXPECT_FALSE(app.Message(200ms)) << "a message at the end of the session";
        }
        ASSERT_EQ(app.Close(), 0);
        saved();
        ASSERT_NE(main = app.Start(), nullptr);
        EXPECT_EQ(std::pair(gui::WindowRect(main).left, gui::WindowRect(main).top), std::pair(130L, 95L));
        EXPECT_EQ(app.Close(), 0);
    }
}

// The exe carries its icon at the sizes Windows shows, up to the 256-pixel one of large views.
TEST(Startup, TheExeHasItsIcon) {
    HMODULE exe = LoadLibraryExW((test::BinDir() + L"\\velmora.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC group = exe ? FindResourceW(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON) : nullptr;
    ASSERT_NE(group, nullptr) << "no icon resource";
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    std::set<int> sizes; // GRPICONDIR: 6 bytes, then 14 per picture, the width first (0 for 256)
    for (int i = 0; i < *reinterpret_cast<const WORD*>(dir + 4); ++i)
        sizes.insert(dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
    for (int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.count(size)) << "no " << size << "-pixel picture";
    FreeLibrary(exe);
}

// A save that fails is told once, with key and reason, when the window closes; at the end of the
// session nothing waits for the user: the program answers at once and tells nothing.
TEST(Startup, ASaveThatFailsIsToldOnceWithKeyAndReason) {
    test::App app;
    HWND main = app.Start();
    ASSERT_NE(main, nullptr);
    test::ReadOnlyKey locked(HKEY_CURRENT_USER, test::kSettingsKey);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 3000, &answer))
        << "the end of the session was held up";
    EXPECT_FALSE(app.Message(200ms)) << "a message at the end of the session";
    gui::Close(main);
    auto box = app.Message();
    ASSERT_TRUE(box) << "nothing told";
    for (std::wstring part :
         {test::Shipped(L"English", L"Your settings could not be saved."), std::wstring(L"frmMain.Left"),
          std::wstring(L"CloseAfterStart"), std::wstring(L"HKEY_CURRENT_USER\\") + test::kSettingsKey,
          std::wstring(L"(5)")})
        EXPECT_NE(box->text.find(part), std::wstring::npos)
            << Narrow(part) << " not in " << Narrow(box->text);
    ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    EXPECT_EQ(app.Process().Wait(10s), 0);
}

// A second start brings the first window to the front, restored, and ends.
TEST(Startup, OnePerSession) {
    test::App app;
    HWND main = app.Start();
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitFor([&] { return IsIconic(main) != FALSE; }));
    test::ChildProcess second = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
    EXPECT_EQ(second.Wait(10s), 0) << "the second start did not end";
    EXPECT_TRUE(test::WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }))
        << "the first window did not come to the front";
    EXPECT_EQ(gui::TopWindows(0, app::kMainWindowClass, app::kMainWindowTitle).size(), 1u);
    EXPECT_EQ(app.Close(), 0);
}

} // namespace
} // namespace velmora
