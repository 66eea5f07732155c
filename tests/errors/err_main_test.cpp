// An error in the start-up procedure: nothing above it catches it, so the program shows the report
// in a plain message and ends with a failure. The program runs inside the test, where the main
// window's class is taken by a window procedure that refuses every window: the main window cannot
// be created.
#include "app/global.h"
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "errors/err_test_support.h"
#include "gui_driver/gui_driver.h"
#include "support/standin.h"

#include <gtest/gtest.h>
#include <regex>
#include <thread>

using namespace velmora;
using test::Narrow;

namespace {

long long Now() { // yyMMddHHmmss as a number, which sorts as the time does
    SYSTEMTIME t;
    GetLocalTime(&t);
    return (((t.wYear % 100 * 100LL + t.wMonth) * 100 + t.wDay) * 100 + t.wHour) * 10000 + t.wMinute * 100 +
           t.wSecond;
}

TEST(ErrMainE2E, ErrorInStartupShowsTheReportAndEndsTheProgram) {
    test::StandinInstall client;
    test::ScratchKey settings(HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora");
    WNDCLASSW refusing{0, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; }};
    refusing.lpszClassName = app::kMainWindowClass;
    ASSERT_TRUE(RegisterClassW(&refusing));
    std::optional<gui::MessageBoxInfo> box;
    std::thread user([&] {
        if ((box = gui::WaitForMessageBox(GetCurrentProcessId())))
            gui::AnswerMessageBox(box->hwnd, IDOK);
    });
    long long before = Now();
    int exitCode = app::Run(L"velmora.exe");
    user.join();
    ASSERT_TRUE(box) << "no message box";
    long long after = Now();
    EXPECT_EQ(box->caption, L"Velmora");
    // The layout is the unit tests'; here what failed, the way up to the start-up procedure, and the
    // facts: the time in the user's date and time format, this program, this machine.
    std::wsmatch m;
    const std::wregex report(
        L"The main window could not be created \r\n  Time='(\\d\\d)(\\D+)(\\d\\d)\\2(\\d\\d) "
        L"(\\d\\d)(\\D+)(\\d\\d)\\6(\\d\\d)' "
        L"App='[^']*' ADO-version='(\\?|\\d+(\\.\\d+)*)' Computer='([^']*)' \r\n"
        L"  Method: basGlobal.Main \r\n  Number: 51 = [^\r\n]*\r\n  Source: [^\r\n]*\r\n"
        L"  Description: The main window could not be created\r\n(?:  API Error: [^\r\n]*\r\n)?"
        L"  Call Stack: basGlobal.Main\\(\\)  at Line \\d+ -+\r\n");
    ASSERT_TRUE(std::regex_match(box->text, m, report)) << Narrow(box->text);
    wchar_t date[8] = {}, time[8] = {}, computer[256];
    DWORD size = ARRAYSIZE(computer);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDATE, date, 8);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, time, 8);
    GetComputerNameW(computer, &size);
    EXPECT_EQ(m[2].str() + L"|" + m[6].str() + L"|" + m[11].str(),
              std::wstring(date) + L"|" + time + L"|" + std::wstring(computer, size));
    long long stamp = std::stoll(m[4].str() + m[1].str() + m[3].str() + m[5].str() + m[7].str() + m[8].str());
    EXPECT_TRUE(before <= stamp && stamp <= after) << stamp << " is not between start and message";
    EXPECT_EQ(exitCode, 1);
}

} // namespace
