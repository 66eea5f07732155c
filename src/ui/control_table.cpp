#include "ui/control_table.h"

#include "language/control_keys.h"
#include "language/translate.h"
#include "platform/dpi.h"

#include <commctrl.h>

namespace velmora::ui {
using platform::TwipsToPx;

namespace {

struct KindInfo {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int listRows; // combo boxes: how many rows their drop-down shows
};

KindInfo Info(Kind kind) {
    switch (kind) {
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0, 0};
    case Kind::Label:
        return {L"STATIC", SS_LEFT, 0, 0};
    case Kind::EditCombo:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 8};
    case Kind::DropDownList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 8};
    case Kind::ImageCombo:
        return {WC_COMBOBOXEXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 9};
    case Kind::Edit:
        return {L"EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE, 0};
    case Kind::ReadOnlyText:
        return {L"EDIT",
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                    WS_TABSTOP,
                WS_EX_CLIENTEDGE, 0};
    case Kind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 0};
    case Kind::DefaultButton:
        return {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0};
    case Kind::DefaultSplit:
        return {L"BUTTON", BS_DEFSPLITBUTTON | WS_TABSTOP, 0, 0};
    case Kind::Check:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0};
    case Kind::Option:
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0, 0};
    case Kind::Picture:
        return {L"STATIC", SS_OWNERDRAW, 0, 0};
    case Kind::Link:
        return {WC_LINK, WS_TABSTOP, 0, 0};
    }
    return {L"STATIC", 0, 0, 0};
}

// Multi-line text boxes want every key by default: Tab would stay in them, and Esc makes them close
// the whole window. In these windows Tab and Esc keep the meaning they have in a dialog; Enter
// makes a new line where the text can be edited (a message may have several lines) and presses
// the default button elsewhere.
LRESULT CALLBACK DialogKeysProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) noexcept {
    if (msg == WM_GETDLGCODE) {
        LRESULT code =
            DefSubclassProc(hwnd, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        const MSG* key = reinterpret_cast<const MSG*>(lp);
        bool editable = !(GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY);
        if (editable && key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
            key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, DialogKeysProc, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

const Control* FindControl(std::span<const Control> rows, int id) {
    for (const Control& row : rows)
        if (row.id == id)
            return &row;
    return nullptr;
}

RECT ControlRect(std::span<const Control> rows, const Control& row, UINT dpi) {
    int x = row.x, y = row.y;
    if (const Control* frame = row.frame ? FindControl(rows, row.frame) : nullptr) {
        x += frame->x;
        y += frame->y;
    }
    RECT rc{TwipsToPx(x, dpi), TwipsToPx(y, dpi), 0, 0};
    rc.right = rc.left + TwipsToPx(row.width, dpi);
    int rows_ = Info(row.kind).listRows;
    rc.bottom = rc.top + TwipsToPx(row.height, dpi) * (rows_ ? rows_ : 1);
    return rc;
}

void CreateControls(HWND parent, std::span<const Control> rows, UINT dpi) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    Kind previous = Kind::Frame;
    for (const Control& row : rows) {
        KindInfo info = Info(row.kind);
        // Options that follow each other are one group: the first starts it and takes the Tab
        // stop, the arrow keys move between them. Every other control starts a group of its own.
        bool groupStart = row.kind != Kind::Option || previous != Kind::Option;
        DWORD style = WS_CHILD | WS_VISIBLE | info.style | (groupStart ? WS_GROUP : 0) |
                      (row.kind == Kind::Option && groupStart ? WS_TABSTOP : 0);
        previous = row.kind;
        RECT rc = ControlRect(rows, row, dpi);
        // Text in a language that reads from right to left, read that way (the window's layout is
        // mirrored already).
        DWORD exStyle = info.exStyle | (RightToLeft() ? WS_EX_RTLREADING : 0);
        HWND control =
            CreateWindowExW(exStyle, info.className, row.key ? row.key : L"", style, rc.left, rc.top,
                            rc.right - rc.left, rc.bottom - rc.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (control && row.key)
            SetTranslationKey(control, row.key);
        if (control && (row.kind == Kind::Edit || row.kind == Kind::ReadOnlyText))
            SetWindowSubclass(control, DialogKeysProc, 0, 0);
    }
}

void LayoutControls(HWND parent, std::span<const Control> rows, UINT dpi) {
    for (const Control& row : rows) {
        RECT rc = ControlRect(rows, row, dpi);
        SetWindowPos(GetDlgItem(parent, row.id), nullptr, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace velmora::ui
