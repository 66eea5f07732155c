// The recording programs themselves: the launcher's tests check that no activation and no key
// arrived, which only proves something if what does arrive is recorded.
#include "platform/process.h"
#include "support/standin.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

TEST(StandinClient, RecordsActivationAndKeys) {
    StandinClient standin(L"self");
    DWORD error = 0;
    auto process = platform::StartProcess(StandinClient::ExePath(), L"standin", SW_SHOWNORMAL, error);
    ASSERT_TRUE(process.process) << "error " << error;
    ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
    HWND login = FindWindowW(L"#32770", L"ICQ Lite Login");
    ASSERT_NE(login, nullptr);
    // Enter as a key: the dialog manager of its message loop turns it into one login.
    PostMessageW(login, WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(standin.CloseWindows());

    Record seen = standin.Read();
    EXPECT_EQ(seen.First(L"iconic"), L"0") << seen.Raw();
    EXPECT_GT(seen.Count(L"activated"), 0u) << seen.Raw();
    EXPECT_EQ(seen.All(L"keydown"), std::vector<std::wstring>{std::to_wstring(VK_RETURN)}) << seen.Raw();
    EXPECT_EQ(seen.Count(L"enter"), 1u) << seen.Raw();
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
