#include "ui/busy.h"

#include "platform/handles.h"
#include "ui/window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace velmora::ui {
namespace {

using Work = std::shared_ptr<std::function<void()>>;
constexpr UINT_PTR kWaitCursorId = 1;

// The scopes alive now, innermost last (one user-interface thread, no locking).
std::vector<BusyScope*> g_scopes;

// While the window waits, the cursor over it and its controls is the wait cursor. A disabled
// window is still asked (hit test HTERROR), and controls ask their parent first.
LRESULT CALLBACK WaitCursor(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) noexcept {
    if (msg == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<Work> work(static_cast<Work*>(parameter));
    try {
        (**work)();
    } catch (...) {
    }
    return 0;
}

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
           (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

DWORD MillisecondsUntil(Clock::time_point until) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(left, INFINITE - 1));
}

} // namespace

BusyScope::BusyScope(HWND window) : window_(window) {
    // A scope inside another one of the same window (the update check's fetch inside the whole
    // check) leaves a close to the outer one. Each disables the window when it finds it enabled (a
    // message box shown between them enables its owner again as it goes).
    outermost_ = window_ && std::none_of(g_scopes.begin(), g_scopes.end(),
                                         [&](BusyScope* s) { return s->window_ == window_; });
    disabled_ = window_ && IsWindowEnabled(window_);
    g_scopes.push_back(this);
    if (!disabled_)
        return;
    EnableWindow(window_, FALSE);
    SetWindowSubclass(window_, WaitCursor, kWaitCursorId, 0);
    POINT at{};
    if (GetCursorPos(&at) && IsOurs(WindowFromPoint(at)))
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

BusyScope::~BusyScope() {
    Pump(); // what was queued last is dropped or handled like the rest
    std::erase(g_scopes, this);
    if (window_ && IsWindow(window_)) {
        if (disabled_) {
            RemoveWindowSubclass(window_, WaitCursor, kWaitCursorId);
            EnableWindow(window_, TRUE);
        }
        if (closeRequested_)
            PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    if (quit_)
        PostQuitMessage(quitCode_);
}

bool BusyScope::IsOurs(HWND hwnd) const {
    return window_ && hwnd && (hwnd == window_ || IsChild(window_, hwnd));
}

bool BusyScope::CloseDeferred(HWND window) {
    for (BusyScope* scope : g_scopes)
        if (scope->outermost_ && scope->window_ == window) {
            scope->closeRequested_ = true;
            return true;
        }
    return false;
}

void BusyScope::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
        } else if (msg.message == WM_CLOSE && CloseDeferred(msg.hwnd)) {
            continue;
        } else if (IsInput(msg.message) && std::any_of(g_scopes.begin(), g_scopes.end(),
                                                       [&](BusyScope* s) { return s->IsOurs(msg.hwnd); })) {
            continue;
        } else if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int BusyScope::Wait(std::span<const HANDLE> handles, Clock::time_point until,
                    const std::function<bool()>& stop) {
    const DWORD count = static_cast<DWORD>(handles.size());
    for (;;) {
        if (stop && stop())
            return kStopped;
        DWORD woke = MsgWaitForMultipleObjectsEx(count, handles.data(), MillisecondsUntil(until), QS_ALLINPUT,
                                                 MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count)
            return static_cast<int>(woke - WAIT_OBJECT_0);
        if (woke != WAIT_OBJECT_0 + count)
            return kTimedOut; // the time is up (or the wait failed: nothing left to wait for)
        Pump();
    }
}

bool RunBusy(HWND window, std::function<void()> work, std::chrono::milliseconds limit) {
    auto shared = std::make_unique<Work>(std::make_shared<std::function<void()>>(std::move(work)));
    platform::UniqueHandle thread(CreateThread(nullptr, 0, RunWork, shared.get(), 0, nullptr));
    if (!thread) { // no thread to be had: the work runs here, and the window waits without painting
        RunWork(shared.release());
        return true;
    }
    shared.release(); // the thread owns it now
    BusyScope busy(window);
    HANDLE handle = thread.get();
    return busy.Wait({&handle, 1}, Clock::now() + limit) == 0;
}

} // namespace velmora::ui
