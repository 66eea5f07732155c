// The tips of a window's controls. A tip is only ever seen once the mouse has rested on a control,
// so the tooltip window is made when the window asks for it (after it is on screen): a window and
// its tools fewer between the program's start and its first picture. Until then texts wait here.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace velmora::ui {

class Tooltips {
public:
    explicit Tooltips(HWND owner) : owner_(owner) {}
    // The tip of a control, shown wherever the mouse is over it, its inner parts included.
    void Set(HWND control, std::wstring text);
    // Makes the tooltip window and gives it the tips set so far.
    void Create();

private:
    struct Pending {
        HWND control;
        std::wstring text;
    };
    void Add(HWND part, const std::wstring& text);
    void AddDeep(HWND control, const std::wstring& text);

    HWND owner_;
    HWND tooltip_ = nullptr; // destroyed with its owner
    std::vector<Pending> pending_;
};

// A short note in a balloon pointing at control, that goes by itself after a few seconds (or when
// clicked): a confirmation that needs no answer. A new one replaces the one shown.
void ShowBalloon(HWND control, const std::wstring& text);

} // namespace velmora::ui
