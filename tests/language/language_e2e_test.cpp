// velmora.exe started with a stored language shows its main window's controls in that language,
// read back from the running window, as the shipped files word them.
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "gui_driver/gui_driver.h"
#include "settings/reg.h"
#include "support/support.h"

#include "ui/window.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

TEST(LanguageEndToEnd, MainWindowShowsTheStoredLanguage) {
    const struct {
        int id;
        const wchar_t *deutsch, *hebrew;
    } controls[] = {
        {app::IDC_LBL_USER, L"Benutzer", L"\u05de\u05e9\u05ea\u05de\u05e9"},
        {app::IDC_LBL_STATUS, L"Status", L"\u05de\u05e6\u05d1"},
        {app::IDC_LBL_NOTIFY,
         L"Ihr letzter Status war \u201eUnsichtbar\u201c. Daher m\u00fcssen Sie leider wieder unsichtbar "
         L"starten.",
         nullptr}, // the same path as the others; not restated in Hebrew
        {app::IDC_CBTN_START, L"ICQ Lite starten", L"\u05d4\u05e4\u05e2\u05dc\u05ea ICQ Lite"},
        {app::IDC_CBTN_SETTINGS, L"Einstellungen", L"\u05d4\u05d2\u05d3\u05e8\u05d5\u05ea"},
        {app::IDC_CBTN_NEW_VERSION, L"Nach Updates suchen",
         L"\u05d7\u05d9\u05e4\u05d5\u05e9 \u05e2\u05d3\u05db\u05d5\u05e0\u05d9\u05dd"},
        {app::IDC_CBTN_INFO, L"Info anzeigen", L"\u05d4\u05e6\u05d2\u05ea \u05de\u05d9\u05d3\u05e2"}};
    Reg reg;
    test::ScratchKey settingsKey(HKEY_CURRENT_USER, test::kSettingsKey);
    test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32);
    reg.WriteValue(L"", test::BinDir() + L"\\velmora.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32); // "installed"; never started
    for (bool hebrew : {false, true}) {
        const wchar_t* name = hebrew ? L"Hebrew" : L"Deutsch";
        reg.WriteValue(L"Language", name, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
        test::ChildProcess velmora = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
        HWND main = gui::WaitForTopWindow(velmora.Id(), app::kMainWindowClass, app::kMainWindowTitle);
        ASSERT_NE(main, nullptr) << name << ": no main window";
        // The window translates itself as it loads; give it the time to get there.
        std::wstring start = hebrew ? controls[3].hebrew : controls[3].deutsch;
        test::WaitFor([&] { return gui::Text(gui::Control(main, app::IDC_CBTN_START)) == start; }, 5s);
        for (const auto& c : controls) {
            const wchar_t* expected = hebrew ? c.hebrew : c.deutsch;
            EXPECT_TRUE(!expected || ui::WithoutMnemonics(gui::Text(gui::Control(main, c.id))) == expected)
                << test::Narrow(name) << ", control " << c.id << " shows "
                << test::Narrow(gui::Text(gui::Control(main, c.id)));
        }
        EXPECT_EQ(gui::Text(main), L"Velmora")
            << test::Narrow(name) << ": the window caption is not translated";
        gui::Close(main);
        EXPECT_EQ(velmora.Wait(10s), 0) << test::Narrow(name) << ": velmora.exe did not end after WM_CLOSE";
    }
}
