// Slow work beside a waiting window: what reaches the window meanwhile and afterwards.
#include "platform/busy.h"
#include "platform/handles.h"

#include <gtest/gtest.h>
#include <memory>

namespace velmora::platform {
namespace {

using namespace std::chrono_literals;

constexpr UINT kSentinel = WM_APP + 7;
struct Seen {
    HANDLE sentinel = nullptr;
    bool busy = false;
    int closes = 0, closesWhileBusy = 0;
} g_seen;

LRESULT CALLBACK Record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kSentinel)
        SetEvent(g_seen.sentinel);
    else if (msg == WM_CLOSE)
        ++(g_seen.busy ? g_seen.closesWhileBusy : g_seen.closes);
    else
        return DefWindowProcW(hwnd, msg, wp, lp);
    return 0;
}

TEST(RunBusy, TheWindowWaitsDisabledHandlesItsMessagesAndDropsInput) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Record;
    wc.lpszClassName = L"VelmoraBusyTest";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"busy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, top, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(top && edit);
    UniqueHandle sentinel(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    g_seen = {sentinel.get()};

    bool enabledMeanwhile = true, sentinelHandled = false;
    g_seen.busy = true;
    bool ended = RunBusy(
        top,
        [&] {
            enabledMeanwhile = IsWindowEnabled(top);
            PostMessageW(edit, WM_CHAR, L'x', 1);
            PostMessageW(top, WM_CLOSE, 0, 0);
            // Posted messages are handled in order: once this one is, so are those before it.
            PostMessageW(top, kSentinel, 0, 0);
            sentinelHandled = WaitForSingleObject(g_seen.sentinel, 10000) == WAIT_OBJECT_0;
        },
        20s);
    g_seen.busy = false;
    EXPECT_TRUE(ended);
    EXPECT_TRUE(sentinelHandled) << "the waiting window handled no messages";
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(top));
    wchar_t text[8] = L"?";
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(text, L"") << "a key typed while the window waited arrived";
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(g_seen.closesWhileBusy, 0) << "the window was closed under the waiting caller";
    EXPECT_EQ(g_seen.closes, 1) << "the close request was lost";

    // Work that overruns: the wait ends at the limit and the work goes on alone.
    auto release = std::make_shared<UniqueHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunBusy(
        top, [release] { WaitForSingleObject(release->get(), 10000); }, 300ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
    EXPECT_TRUE(IsWindowEnabled(top));
    SetEvent(release->get());
    DestroyWindow(top);
}

} // namespace
} // namespace velmora::platform
