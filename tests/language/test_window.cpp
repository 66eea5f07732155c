#include "test_window.h"

#include "language/control_keys.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

const wchar_t* TestClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelmoraLanguageTest";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

} // namespace

TestWindow::TestWindow(const std::vector<ControlRow>& rows, const wchar_t* title) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    hwnd_ = CreateWindowExW(0, TestClass(), title, WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(hwnd_, nullptr) << "test window not created, error " << GetLastError();
    int y = 0;
    for (const ControlRow& row : rows) {
        HWND parent = row.parent < 0 ? hwnd_ : controls_.at(row.parent);
        HWND control = CreateWindowExW(0, row.cls, row.caption, WS_CHILD | WS_VISIBLE | row.style, 4, y, 180,
                                       20, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(control, nullptr) << "control " << row.name << " not created, error " << GetLastError();
        SetTranslationKey(control, row.key);
        controls_.push_back(control);
        y += 22;
    }
}

TestWindow::~TestWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

std::wstring TestWindow::Text(HWND hwnd) const {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

} // namespace velmora::test
