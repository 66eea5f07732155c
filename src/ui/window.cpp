#include "ui/window.h"

#include "errors/trap.h"
#include "language/language.h"
#include "language/translate.h"
#include "platform/dpi.h"
#include "ui/busy.h"

#include <algorithm>
#include <set>

namespace velmora::ui {
namespace {

// The program's open windows in the order they were created, and the modal runs, innermost last.
// The frame's own bookkeeping: one user-interface thread, no locking.
std::vector<Window*> g_open;
std::vector<Window*> g_modal;
UINT g_dpiOverride = 0;
bool g_endWithTheLastWindow = false;

void RegisterOnce(const WindowDef& def, HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(instance, def.className, &wc))
        return;
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(def.cursor));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = def.className;
    RegisterClassExW(&wc);
}

RECT WorkAreaNear(HWND hwnd) {
    MONITORINFO info{sizeof(info)};
    HMONITOR monitor = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (GetMonitorInfoW(monitor, &info))
        return info.rcWork;
    RECT rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

} // namespace

Window::~Window() = default;

int Window::Px(int twips) const {
    return platform::TwipsToPx(twips, dpi_);
}

Window* Window::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    auto it = std::find_if(g_open.begin(), g_open.end(), [&](Window* w) { return w->hwnd_ == hwnd; });
    return it == g_open.end() ? nullptr : *it;
}

SIZE Window::WindowSize(UINT dpi) const {
    RECT rc{0, 0, platform::TwipsToPx(def_.width, dpi), platform::TwipsToPx(def_.height, dpi)};
    platform::AdjustWindowRectForDpi(rc, def_.look.style, def_.look.exStyle, dpi);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

POINT Window::Place(SIZE size) {
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    RECT work = WorkAreaNear(owner);
    RECT over = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &over);
    POINT at{over.left + (over.right - over.left - size.cx) / 2,
             over.top + (over.bottom - over.top - size.cy) / 2};
    // Whole on the work area where it fits.
    at.x = std::max(work.left, std::min(at.x, work.right - size.cx));
    at.y = std::max(work.top, std::min(at.y, work.bottom - size.cy));
    return at;
}

bool Window::Create(HWND owner) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterOnce(def_, instance);
    const wchar_t* caption = def_.translateCaption ? L"" : def_.captionKey;
    // The handle is stored when the window's first message arrives (WM_NCCREATE). While creating,
    // a window that goes again is deleted here rather than by its last message.
    creating_ = true;
    DWORD exStyle = def_.look.exStyle | (RightToLeft() ? WS_EX_LAYOUTRTL | WS_EX_RTLREADING : 0);
    HWND created = CreateWindowExW(exStyle, def_.className, caption, def_.look.style, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 0, 0, owner, nullptr, instance, this);
    creating_ = false;
    if (!created) {
        delete this;
        return false;
    }
    dpi_ = g_dpiOverride ? g_dpiOverride : platform::WindowDpi(owner ? owner : hwnd_);
    CreateControls(hwnd_, def_.controls, dpi_);
    font_ = platform::CreateMessageFont(dpi_);
    platform::SetFontDeep(hwnd_, Font());
    SIZE size = WindowSize(dpi_);
    POINT at = Place(size);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    TranslateWindow();
    // The focus is always shown, not only once the keyboard has been used in the window.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    OnLoad();
    return IsWindow(created) != FALSE; // OnLoad may have closed it again
}

void Window::Present(int command) {
    ShowWindow(hwnd_, command);
    UpdateWindow(hwnd_);
}

std::wstring WithoutMnemonics(std::wstring text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'&')
            text.erase(i, 1); // "&&" stands for "&": the second one stays
    return text;
}

namespace {
BOOL CALLBACK SetLayoutDeep(HWND child, LPARAM rtl) noexcept {
    LONG ex = GetWindowLongW(child, GWL_EXSTYLE);
    constexpr LONG kRtl = WS_EX_LAYOUTRTL | WS_EX_RTLREADING;
    SetWindowLongW(child, GWL_EXSTYLE, rtl ? ex | kRtl : ex & ~kRtl);
    return TRUE;
}
} // namespace

// A window made in one language and shown in another that reads the other way is turned around,
// controls and all: the controls are placed anew in the mirrored (or no longer mirrored) space.
void Window::ApplyDirection() {
    bool rtl = RightToLeft();
    if (((GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0) == rtl)
        return;
    SetLayoutDeep(hwnd_, rtl);
    EnumChildWindows(hwnd_, SetLayoutDeep, rtl);
    LayoutControls(hwnd_, def_.controls, dpi_);
    OnRelayout();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Window::TranslateWindow() {
    ApplyDirection();
    if (def_.translateCaption)
        SetWindowTextW(hwnd_, WithoutMnemonics(velmora::Translate(def_.captionKey)).c_str());
    if (const Language* language = CurrentLanguage())
        language->TranslateFormControls(hwnd_);
}

void Window::Close() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::End(int result) {
    if (ending_)
        return;
    ending_ = true;
    result_ = result;
    // As a dialog ends: the owner takes input again before this window goes, so that Windows
    // hands the activation back to it and not to another program.
    if (modalOwner_)
        EnableWindow(modalOwner_, TRUE);
    DestroyWindow(hwnd_);
}

int Window::RunModalLoop(HWND owner) {
    HWND self = hwnd_;
    modalOwner_ = owner && IsWindowEnabled(owner) ? owner : nullptr;
    g_modal.push_back(this);
    if (modalOwner_)
        EnableWindow(modalOwner_, FALSE);
    Present(SW_SHOWNORMAL);
    // The object deletes itself with its window: the result comes out through the loop's own
    // variable.
    int result = 0;
    resultSink_ = &result;
    MSG msg;
    while (IsWindow(self)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) // the program is ending: the outer loop must see the quit too
                PostQuitMessage(static_cast<int>(msg.wParam));
            if (Window* w = FromHandle(self))
                w->End(0);
            break;
        }
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return result;
}

void Window::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    auto font = platform::CreateMessageFont(dpi_);
    platform::SetFontDeep(hwnd_, static_cast<HFONT>(font.get()));
    font_ = std::move(font); // the old font goes once no control uses it any more
    LayoutControls(hwnd_, def_.controls, dpi_);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto handled = OnMessage(msg, wp, lp))
        return *handled;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case DM_GETDEFID:
        if (def_.defaultButton)
            return MAKELRESULT(def_.defaultButton, DC_HASDEFID);
        break;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_DRAWITEM: {
        // Pictures keep their orientation in a mirrored window: a logo or a word must not come out
        // the wrong way round. The item is the whole control, so it is simply drawn unmirrored.
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        DWORD layout = GetLayout(item.hDC);
        if (layout & LAYOUT_RTL)
            SetLayout(item.hDC, 0);
        bool drawn = OnDrawItem(item);
        SetLayout(item.hDC, layout);
        if (drawn)
            return TRUE;
        break;
    }
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // The client area scales with the DPI; the frame around it is the system's.
        UINT dpi = static_cast<UINT>(wp);
        RECT client{};
        GetClientRect(hwnd_, &client);
        RECT rc{0, 0, MulDiv(client.right, static_cast<int>(dpi), static_cast<int>(dpi_)),
                MulDiv(client.bottom, static_cast<int>(dpi), static_cast<int>(dpi_))};
        platform::AdjustWindowRectForDpi(rc, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                         static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi);
        *reinterpret_cast<SIZE*>(lp) = {rc.right - rc.left, rc.bottom - rc.top};
        return TRUE;
    }
    case WM_DPICHANGED: {
        if (g_dpiOverride)
            return 0;
        ApplyDpi(HIWORD(wp));
        const RECT& to = *reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        OnRelayout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    }
    case WM_ACTIVATE:
        // As in a dialog: coming back, the focus returns to the control that had it (at first, the
        // first one in the tab order).
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                lastFocus_ = focus;
        } else if (!IsIconic(hwnd_)) {
            HWND focus = lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_) &&
                                 IsWindowEnabled(lastFocus_)
                             ? lastFocus_
                             : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
            if (focus)
                SetFocus(focus);
            return 0;
        }
        break;
    case WM_CLOSE:
        // A window that waits for slow work closes once the work is over: the work still uses it.
        if (!BusyScope::CloseDeferred(hwnd_))
            OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = Window::FromHandle(hwnd);
    if (msg == WM_NCCREATE && !self) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        g_open.push_back(self);
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        if (self->resultSink_)
            *self->resultSink_ = self->result_;
        std::erase(g_open, self);
        std::erase(g_modal, self);
        if (!self->creating_)
            delete self;
        if (g_endWithTheLastWindow && g_open.empty())
            PostQuitMessage(0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (...) {
        std::wstring where = std::wstring(self->def_.name) + L".WindowProc(" + std::to_wstring(msg) + L")";
        ReportUnexpected(where.c_str());
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool PreTranslate(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!root || !Window::FromHandle(root))
        return false;
    return IsDialogMessageW(root, &msg) != FALSE;
}

std::vector<Window*> OpenWindows() {
    return g_open;
}

Window* ActiveModal() {
    return g_modal.empty() ? nullptr : g_modal.back();
}

void EndWithTheLastWindow() {
    g_endWithTheLastWindow = true;
    if (g_open.empty())
        PostQuitMessage(0);
}

void SetDpiOverride(UINT dpi) {
    g_dpiOverride = dpi;
}

std::wstring Text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(hwnd, text.data(), length + 1), 0)));
    return text;
}

std::wstring ComboItemText(HWND combo, int index) {
    LRESULT length = index < 0 ? CB_ERR : SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

int ShowMessage(HWND owner, const std::wstring& text, UINT style) {
    if (RightToLeft())
        style |= MB_RTLREADING | MB_RIGHT;
    return MessageBoxW(owner, text.c_str(), kProgramTitle, style);
}

void DiscardQueuedInput() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        ;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        ;
    while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE))
        ;
}

// An error that reached the frame is shown once per place: a failing paint would otherwise bring
// up a report with every repaint.
void ReportUnexpected(const wchar_t* where) noexcept {
    static std::set<std::wstring> reported;
    static bool reporting = false;
    if (reporting)
        return;
    reporting = true;
    try {
        err::CaptureCurrentException();
        if (reported.insert(where).second) {
            err::ErrorIn(where, err::NoArgs(), err::ERRIN_TOPLEVEL);
            err::ErrShowReport();
        }
    } catch (...) {
    }
    reporting = false;
}

} // namespace velmora::ui
