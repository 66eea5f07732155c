// velmora.exe started with a stored language shows its main window's controls in that language,
// read back from the running window.
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "gui_driver/gui_driver.h"
#include "language/language.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

TEST(LanguageEndToEnd, MainWindowShowsTheStoredLanguage) {
    const struct {
        int id;
        const wchar_t* key;
    } controls[] = {
        {app::IDC_LBL_USER, L"User"},
        {app::IDC_LBL_STATUS, L"Status"},
        {app::IDC_LBL_NOTIFY, L"Sorry, if your last status is invisible then you must start invisible again"},
        {app::IDC_CBTN_START, L"Start ICQ Lite"},
        {app::IDC_CBTN_SETTINGS, L"Settings"},
        {app::IDC_CBTN_NEW_VERSION, L"Search for Updates"},
        {app::IDC_CBTN_INFO, L"Show Info"}};
    Reg reg;
    test::ScratchKey settingsKey(HKEY_CURRENT_USER, test::kSettingsKey);
    test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32);
    reg.WriteValue(L"", test::BinDir() + L"\\velmora.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32); // "installed"; never started
    // The expected texts come from the shipped files through a settings key of the test's own.
    test::ScratchKey expectedKey(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\LanguageEndToEnd");
    Settings expectedSettings(reg);
    expectedSettings.SetRegKey(expectedKey.path());
    File file;

    for (const wchar_t* name : {L"Deutsch", L"Hebrew"}) {
        reg.WriteValue(L"Language", std::wstring(name), REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
        reg.WriteValue(L"Language", std::wstring(name), REG_SZ, expectedKey.path(), HKEY_CURRENT_USER);
        Language expected(expectedSettings, file);
        ASSERT_NE(expected.TranslateText(L"Settings"), L"Settings") << name << ".ini was not loaded";

        test::ChildProcess velmora = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
        HWND main = gui::WaitForTopWindow(velmora.Id(), app::kMainWindowClass, app::kMainWindowTitle);
        ASSERT_NE(main, nullptr) << name << ": no main window";
        // The window translates itself as it loads; give it the time to get there.
        std::wstring start = expected.TranslateText(L"Start ICQ Lite");
        test::WaitFor([&] { return gui::Text(gui::Control(main, app::IDC_CBTN_START)) == start; }, 5s);
        for (const auto& control : controls)
            EXPECT_EQ(gui::Text(gui::Control(main, control.id)), expected.TranslateText(control.key))
                << name << ", the control of the key " << control.key;
        EXPECT_EQ(gui::Text(main), L"Velmora") << name << ": the window caption is not translated";
        gui::Close(main);
        EXPECT_EQ(velmora.Wait(10s), 0) << name << ": velmora.exe did not end after WM_CLOSE";
    }
}
