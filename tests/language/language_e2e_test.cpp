// velmora.exe started with a stored language shows its main window's controls in that language,
// read back from the running window, as the shipped file words them.
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "gui_driver/gui_driver.h"
#include "settings/reg.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(LanguageEndToEnd, MainWindowShowsTheStoredLanguage) {
    const std::pair<int, const wchar_t*> controls[] = {
        {app::IDC_LBL_USER, L"Benutzer"},
        {app::IDC_LBL_STATUS, L"Status"},
        {app::IDC_LBL_NOTIFY, L"Ihr letzter Status war \u201eUnsichtbar\u201c. Daher m\u00fcssen Sie leider "
                              L"wieder unsichtbar starten."},
        {app::IDC_CBTN_START, L"ICQ Lite starten"},
        {app::IDC_CBTN_SETTINGS, L"Einstellungen"},
        {app::IDC_CBTN_NEW_VERSION, L"Nach Updates suchen"},
        {app::IDC_CBTN_INFO, L"Info anzeigen"}};
    Reg reg;
    test::ScratchKey settingsKey(HKEY_CURRENT_USER, test::kSettingsKey);
    test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32);
    reg.WriteValue(L"", test::BinDir() + L"\\velmora.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32); // "installed"; never started
    reg.WriteValue(L"Language", L"Deutsch", REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
    test::ChildProcess velmora = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
    HWND main = gui::WaitForTopWindow(velmora.Id(), app::kMainWindowClass, app::kMainWindowTitle);
    ASSERT_NE(main, nullptr) << "no main window";
    // The window translates itself as it loads; give it the time to get there.
    test::WaitFor([&] { return gui::Text(gui::Control(main, app::IDC_CBTN_START)) == controls[3].second; });
    for (auto [id, text] : controls)
        EXPECT_EQ(gui::Text(gui::Control(main, id)), text) << "control " << id;
    EXPECT_EQ(gui::Text(main), L"Velmora") << "the window caption is not translated";
    gui::Close(main);
    EXPECT_EQ(velmora.Wait(std::chrono::seconds(10)), 0) << "velmora.exe did not end after WM_CLOSE";
}
