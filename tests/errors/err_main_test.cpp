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

std::wstring Now() { // yy MM dd HH mm ss, which sorts as the time does
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t text[32];
    swprintf(text, 32, L"%02u %02u %02u %02u %02u %02u", t.wYear % 100, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

TEST(ErrMainE2E, ErrorInStartupShowsTheReportAndEndsTheProgram) {
    test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, icqlite::kClientView);
    Reg().WriteValue(L"", std::vector<std::wstring>{L"C:\\ICQLite\\ICQLite.exe"}, REG_MULTI_SZ,
                     appPaths.path(), HKEY_LOCAL_MACHINE, icqlite::kClientView);

    std::wstring before = Now();
    auto program = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
    auto box = gui::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box) << "no message box; program still running: " << program.Running();
    std::wstring after = Now();
    EXPECT_EQ(box->caption, L"Velmora");

    std::vector<std::wstring> lines = test::Lines(box->text);
    ASSERT_EQ(lines.size(), 9u) << Narrow(box->text);
    // The layout is the unit tests'; here what failed, and the way up to the start-up procedure.
    for (auto [i, start] : {std::pair{0, L"Type mismatch "},
                            {2, L"  Method: basICQLite.GetExePath "},
                            {3, L"  Number: 13 = "},
                            {6, L"  Call Stack: basICQLite.GetExePath()  at Line "},
                            {7, L"  Call Stack: basICQLite.IsInstalled() -"},
                            {8, L"  Call Stack: basGlobal.Main() -"}})
        EXPECT_TRUE(lines[i].starts_with(start)) << "line " << i << ": " << Narrow(lines[i]);

    // The header's facts: the time in the user's date and time format, this program, this machine.
    std::wsmatch m;
    const std::wregex facts(
        L"  Time='(\\d\\d)(\\D+)(\\d\\d)\\2(\\d\\d) (\\d\\d)(\\D+)(\\d\\d)\\6(\\d\\d)' "
        L"App='velmora:1\\.0\\.0' ADO-version='(\\?|\\d+(\\.\\d+)*)' Computer='([^']*)' ");
    ASSERT_TRUE(std::regex_match(lines[1], m, facts)) << Narrow(lines[1]);
    wchar_t date[8] = {}, time[8] = {}, computer[256];
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDATE, date, 8);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, time, 8);
    EXPECT_EQ(m[2].str() + L" " + m[6].str(), date + std::wstring(L" ") + time);
    std::wstring stamp = m[4].str() + L" " + m[1].str() + L" " + m[3].str() + L" " + m[5].str() + L" " +
                         m[7].str() + L" " + m[8].str();
    EXPECT_TRUE(before <= stamp && stamp <= after) << Narrow(lines[1]) << " is not between start and message";
    DWORD size = ARRAYSIZE(computer);
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    EXPECT_EQ(m[11].str(), std::wstring(computer, size));

    ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK));
    int exitCode = program.Wait();
    EXPECT_TRUE(exitCode != -1 && exitCode != 0) << "exit code " << exitCode << " (-1: still running)";
}

} // namespace
