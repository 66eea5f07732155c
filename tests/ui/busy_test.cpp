// Slow work beside a waiting window: what reaches the window meanwhile and afterwards.
#include "ui/busy.h"
#include "platform/handles.h"

#include <gtest/gtest.h>
#include <memory>

namespace velmora::ui {
namespace {

using namespace std::chrono_literals;

bool g_busy = false;
int g_closes[2] = {}; // WM_CLOSE handled after and while the window waited

LRESULT CALLBACK Record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_CLOSE)
        return DefWindowProcW(hwnd, msg, wp, lp);
    ++g_closes[g_busy];
    return 0;
}

TEST(RunBusy, TheWindowWaitsDisabledHandlesItsMessagesAndDropsInput) {
    WNDCLASSW wc{0, Record, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"VelmoraBusyTest"};
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"busy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, top, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(top && edit);
    bool enabledMeanwhile = true, answered = false;
    g_busy = true;
    auto work = [&] {
        enabledMeanwhile = IsWindowEnabled(top);
        PostMessageW(edit, WM_CHAR, L'x', 1);
        PostMessageW(top, WM_CLOSE, 0, 0);
        answered = SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr) != 0;
    };
    EXPECT_TRUE(RunBusy(top, work, 20s));
    g_busy = false;
    EXPECT_TRUE(answered) << "the waiting window handled no messages";
    EXPECT_TRUE(!enabledMeanwhile && IsWindowEnabled(top)) << "enabled while it waited, or not after";
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(GetWindowTextLengthW(edit), 0) << "a key typed while the window waited arrived";
    EXPECT_EQ(std::pair(g_closes[1], g_closes[0]), std::pair(0, 1)) << "closes while it waited and after";

    // Work that overruns: the wait ends at the limit and the work goes on alone.
    auto release = std::make_shared<platform::UniqueHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunBusy(
        top, [release] { WaitForSingleObject(release->get(), 10000); }, 300ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
    EXPECT_TRUE(IsWindowEnabled(top));
    SetEvent(release->get());
    DestroyWindow(top);
}

} // namespace
} // namespace velmora::ui
