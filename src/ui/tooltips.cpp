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

} // namespace velmora::ui
