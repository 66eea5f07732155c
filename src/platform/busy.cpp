#include "platform/busy.h"

#include "platform/handles.h"

#include <commctrl.h>

#include <memory>

namespace velmora::platform {
namespace {

using Work = std::shared_ptr<std::function<void()>>;
constexpr UINT_PTR kWaitCursorId = 1;

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

class Waiting {
public:
    explicit Waiting(HWND window) : window_(window) {
        if (!window_)
            return;
        EnableWindow(window_, FALSE);
        SetWindowSubclass(window_, WaitCursor, kWaitCursorId, 0);
        POINT at{};
        if (GetCursorPos(&at) && IsOurs(WindowFromPoint(at)))
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    ~Waiting() {
        Pump(); // what was queued last is dropped or handled like the rest
        if (window_ && IsWindow(window_)) {
            RemoveWindowSubclass(window_, WaitCursor, kWaitCursorId);
            EnableWindow(window_, TRUE);
            if (closeRequested_)
                PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        if (quit_)
            PostQuitMessage(quitCode_);
    }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit_ = true;
                quitCode_ = static_cast<int>(msg.wParam);
            } else if (IsOurs(msg.hwnd) && IsInput(msg.message))
                continue;
            else if (msg.hwnd && msg.hwnd == window_ && msg.message == WM_CLOSE)
                closeRequested_ = true;
            else {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }

private:
    bool IsOurs(HWND hwnd) const { return window_ && hwnd && (hwnd == window_ || IsChild(window_, hwnd)); }

    HWND window_;
    bool closeRequested_ = false;
    bool quit_ = false; // a WM_QUIT came: it is posted again for the caller's loop
    int quitCode_ = 0;
};

} // namespace

bool RunBusy(HWND window, std::function<void()> work, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    auto shared = std::make_unique<Work>(std::make_shared<std::function<void()>>(std::move(work)));
    UniqueHandle thread(CreateThread(nullptr, 0, RunWork, shared.get(), 0, nullptr));
    if (!thread) { // no thread to be had: the work runs here, and the window waits without painting
        RunWork(shared.release());
        return true;
    }
    shared.release(); // the thread owns it now

    Waiting waiting(window);
    const auto deadline = Clock::now() + limit;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        HANDLE handle = thread.get();
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &handle, static_cast<DWORD>(left), QS_ALLINPUT,
                                                 MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0)
            return true;
        if (woke != WAIT_OBJECT_0 + 1)
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        waiting.Pump();
    }
}

} // namespace velmora::platform
