// An error in the start-up procedure: nothing above it catches it, so the real program shows the
// report in a plain message and ends. The client's App Paths entry is stored as a list of texts,
// which the client lookup cannot read as a path (type mismatch).
#include "client/icq_lite.h"
#include "errors/err_test_support.h"
#include "gui_driver/gui_driver.h"

#include <gtest/gtest.h>
#include <regex>

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
    test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, icqlite::kClientView);
    Reg().WriteValue(L"", std::vector<std::wstring>{L"C:\\ICQLite\\ICQLite.exe"}, REG_MULTI_SZ,
                     appPaths.path(), HKEY_LOCAL_MACHINE, icqlite::kClientView);
    long long before = Now();
    auto program = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
    auto box = gui::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box) << "no message box; program still running: " << program.Running();
    long long after = Now();
    EXPECT_EQ(box->caption, L"Velmora");
    // The layout is the unit tests'; here what failed, the way up to the start-up procedure, and the
    // facts: the time in the user's date and time format, this program, this machine.
    std::wsmatch m;
    const std::wregex report(
        L"Type mismatch \r\n  Time='(\\d\\d)(\\D+)(\\d\\d)\\2(\\d\\d) (\\d\\d)(\\D+)(\\d\\d)\\6(\\d\\d)' "
        L"App='velmora:1\\.0\\.0' ADO-version='(\\?|\\d+(\\.\\d+)*)' Computer='([^']*)' \r\n"
        L"  Method: basICQLite.GetExePath \r\n  Number: 13 = [^\r\n]*\r\n  Source: [^\r\n]*\r\n"
        L"  Description: [^\r\n]*\r\n  Call Stack: basICQLite.GetExePath\\(\\)  at Line \\d+ -+\r\n"
        L"  Call Stack: basICQLite.IsInstalled\\(\\) -+\r\n  Call Stack: basGlobal.Main\\(\\) -+\r\n");
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
    ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    int exitCode = program.Wait();
    EXPECT_TRUE(exitCode != -1 && exitCode != 0) << "exit code " << exitCode << " (-1: still running)";
}

} // namespace
