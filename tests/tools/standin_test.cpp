// The recording programs themselves: the launcher's tests find no input at the bystander and no
// activation at the client, which proves something only because both are recorded when they come.
#include "support/standin.h"

#include <gtest/gtest.h>

using namespace velmora::test;

TEST(Recorders, RecordTheInputAndTheActivationThatArrive) {
    FocusBystander bystander(L"self");
    ASSERT_TRUE(bystander.Ready());
    PostMessageW(bystander.Window(), WM_KEYDOWN, VK_F5, 1);
    StandinClient standin(L"self");
    ChildProcess client =
        ChildProcess::Start(StandinClient::ExePath()); // shown normally: takes the foreground
    ASSERT_TRUE(standin.WaitForLine(L"activated")) << standin.Read().Raw();
    ASSERT_TRUE(standin.CloseWindows());
    ASSERT_TRUE(bystander.Close());
    EXPECT_EQ(bystander.Read().All(L"input"),
              (std::vector<std::wstring>{std::to_wstring(WM_KEYDOWN), std::to_wstring(WM_ACTIVATE),
                                         std::to_wstring(WM_KILLFOCUS)}))
        << bystander.Read().Raw();
}
