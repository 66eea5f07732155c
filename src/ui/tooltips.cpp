#include "ui/tooltips.h"

#include <commctrl.h>

namespace velmora::ui {

void Tooltips::Add(HWND part, const std::wstring& text) {
    TTTOOLINFOW info{sizeof(info)};
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(part);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// A combo box is made of an edit field and a list inside it (a ComboBoxEx one level deeper).
void Tooltips::AddDeep(HWND control, const std::wstring& text) {
    Add(control, text);
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Add(child, text);
        for (HWND inner = GetWindow(child, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT))
            Add(inner, text);
    }
}

void Tooltips::Set(HWND control, std::wstring text) {
    if (tooltip_)
        AddDeep(control, text);
    else
        pending_.push_back({control, std::move(text)});
}

void Tooltips::Create() {
    if (tooltip_)
        return;
    tooltip_ =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const Pending& tip : pending_)
        AddDeep(tip.control, tip.text);
    pending_.clear();
}

namespace {

HWND g_balloon = nullptr;
constexpr UINT kBalloonMs = 5000;

void CALLBACK BalloonOver(HWND balloon, UINT, UINT_PTR id, DWORD) noexcept {
    KillTimer(balloon, id);
    DestroyWindow(balloon);
}

LRESULT CALLBACK BalloonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) noexcept {
    if (msg == WM_LBUTTONDOWN)
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, BalloonProc, 0);
        if (g_balloon == hwnd)
            g_balloon = nullptr;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

void ShowBalloon(HWND control, const std::wstring& text) {
    if (g_balloon)
        DestroyWindow(g_balloon);
    HWND owner = GetAncestor(control, GA_ROOT);
    g_balloon =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!g_balloon)
        return;
    SetWindowSubclass(g_balloon, BalloonProc, 0, 0);
    TTTOOLINFOW info{sizeof(info)};
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(g_balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    // Long texts wrap instead of running off the screen.
    SendMessageW(g_balloon, TTM_SETMAXTIPWIDTH, 0, 400);
    RECT at{};
    GetWindowRect(control, &at);
    SendMessageW(g_balloon, TTM_TRACKPOSITION, 0,
                 MAKELPARAM((at.left + at.right) / 2, at.bottom - (at.bottom - at.top) / 4));
    SendMessageW(g_balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    SetTimer(g_balloon, 1, kBalloonMs, BalloonOver);
}

} // namespace velmora::ui
