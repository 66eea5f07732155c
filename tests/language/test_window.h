// A real top-level window with real child controls, for the translation tests: each control is
// created from one row (class, style, laid-out caption, key, parent row).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace velmora::test {

struct ControlRow {
    const wchar_t* name;    // how the test refers to the control
    const wchar_t* cls;     // window class
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    const wchar_t* caption; // the laid-out caption
    const wchar_t* key;     // translation key; nullptr: none
    int parent = -1;        // row index of the parent control; -1: the window itself
};

class TestWindow {
public:
    explicit TestWindow(const std::vector<ControlRow>& rows, const wchar_t* title = L"Fenster");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND control(size_t row) const { return controls_.at(row); }
    std::wstring Text(HWND hwnd) const;
    std::wstring Text(size_t row) const { return Text(control(row)); }

private:
    HWND hwnd_ = nullptr;
    std::vector<HWND> controls_;
};

} // namespace velmora::test
