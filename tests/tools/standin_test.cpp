// The recording programs themselves: the launcher's tests only prove something if activation
// and keys that do arrive are recorded.
#include "platform/process.h"
#include "support/standin.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

TEST(StandinClient, RecordsItsShowCommandActivationAndLoginPresses) {
    struct Case {
        WORD show;
        const wchar_t* iconic;
        bool activated;
    } cases[] = {{SW_SHOWNORMAL, L"0", true}, {SW_SHOWMINNOACTIVE, L"1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("show command " + std::to_string(c.show));
        StandinClient standin(L"self-" + std::to_wstring(c.show));
        DWORD error = 0;
        auto process = platform::StartProcess(StandinClient::ExePath(), L"standin", c.show, error);
        ASSERT_TRUE(process.process) << "error " << error;
        ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
        HWND login = FindWindowW(L"#32770", L"ICQ Lite Login");
        ASSERT_NE(login, nullptr);
        // Enter as a key: the dialog manager of its message loop turns it into one login.
        PostMessageW(login, WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_TRUE(standin.CloseWindows());

        Record seen = standin.Read();
        EXPECT_EQ(seen.First(L"ShowWindow"), std::to_wstring(c.show)) << seen.Raw();
        EXPECT_EQ(seen.First(L"commandline"), L"standin") << seen.Raw();
        EXPECT_EQ(seen.First(L"iconic"), c.iconic) << seen.Raw();
        EXPECT_EQ(seen.Count(L"activated") > 0, c.activated) << seen.Raw();
        EXPECT_EQ(seen.Count(L"enter"), 1u) << seen.Raw();
        EXPECT_EQ(seen.First(L"exit"), L"close") << seen.Raw();
    }
}

TEST(StandinClient, WithoutARecordFileItEndsAtOnce) {
    ScopedEnv noRecord(L"VELMORA_STANDIN_RECORD", std::nullopt);
    ChildProcess standin = ChildProcess::Start(StandinClient::ExePath());
    EXPECT_EQ(standin.Wait(std::chrono::seconds(10)), 2);
}

TEST(FocusBystander, RecordsTheKeysThatReachIt) {
    FocusBystander bystander(L"self");
    ASSERT_TRUE(bystander.Ready());
    // F5 makes no character of its own, so each record comes from exactly one message.
    PostMessageW(bystander.Window(), WM_KEYDOWN, VK_F5, 1);
    PostMessageW(bystander.Window(), WM_CHAR, L'x', 1);
    ASSERT_TRUE(bystander.Close());
    Record seen = bystander.Read();
    EXPECT_EQ(seen.All(L"keydown"), std::vector<std::wstring>{std::to_wstring(VK_F5)}) << seen.Raw();
    EXPECT_EQ(seen.All(L"char"), std::vector<std::wstring>{std::to_wstring(L'x')}) << seen.Raw();
}
