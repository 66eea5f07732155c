#include "app/control_table.h"

#include "app/shared.h"
#include "language/control_keys.h"
#include "language/language.h"
#include "platform/dpi.h"

#include <commctrl.h>

namespace velmora::app {
using platform::TwipsToPx;

namespace {

struct KindInfo {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int listRows; // combo boxes: how many rows their drop-down shows
};

KindInfo Info(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0, 0};
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0, 0};
    case ControlKind::EditCombo:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 8};
    case ControlKind::ImageCombo:
        return {WC_COMBOBOXEXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 9};
    case ControlKind::Edit:
        return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 0};
    case ControlKind::ReadOnlyText:
        return {L"EDIT",
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                    WS_TABSTOP,
                WS_EX_CLIENTEDGE, 0};
    case ControlKind::PictureButton:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 0};
    case ControlKind::DefaultButton:
        return {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0};
    case ControlKind::Picture:
        return {L"STATIC", SS_OWNERDRAW, 0, 0};
    case ControlKind::Link:
        return {WC_LINK, WS_TABSTOP, 0, 0};
    }
    return {L"STATIC", 0, 0, 0};
}

// Multi-line text boxes want every key by default: Tab would stay in them, Enter would not reach
// the default button, and Esc makes them close the whole window. In these windows they take
// characters and arrows only, and the keys of the dialog keep their meaning.
LRESULT CALLBACK DialogKeysProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, DialogKeysProc, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

const ControlRow* FindRow(std::span<const ControlRow> rows, int id) {
    for (const ControlRow& row : rows)
        if (row.id == id)
            return &row;
    return nullptr;
}

} // namespace

RECT ControlRect(std::span<const ControlRow> rows, const ControlRow& row, UINT dpi) {
    int left = row.left, top = row.top;
    if (const ControlRow* frame = row.frameId ? FindRow(rows, row.frameId) : nullptr) {
        left += frame->left;
        top += frame->top;
    }
    RECT rc{TwipsToPx(left, dpi), TwipsToPx(top, dpi), 0, 0};
    rc.right = rc.left + TwipsToPx(row.width, dpi);
    rc.bottom = rc.top + TwipsToPx(row.height, dpi) * (Info(row.kind).listRows ? Info(row.kind).listRows : 1);
    return rc;
}

void CreateControls(HWND parent, std::span<const ControlRow> rows, UINT dpi) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const ControlRow& row : rows) {
        KindInfo info = Info(row.kind);
        RECT rc = ControlRect(rows, row, dpi);
        HWND control = CreateWindowExW(
            info.exStyle, info.className, row.caption ? row.caption : L"", WS_CHILD | WS_VISIBLE | info.style,
            rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (control && row.key)
            SetTranslationKey(control, row.key);
        if (control && (row.kind == ControlKind::Edit || row.kind == ControlKind::ReadOnlyText))
            SetWindowSubclass(control, DialogKeysProc, 0, 0);
    }
}

void LayoutControls(HWND parent, std::span<const ControlRow> rows, UINT dpi) {
    for (const ControlRow& row : rows) {
        RECT rc = ControlRect(rows, row, dpi);
        SetWindowPos(GetDlgItem(parent, row.id), nullptr, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TranslateControls(HWND parent) {
    if (const Language* language = Shared().language)
        language->TranslateFormControls(parent);
}

} // namespace velmora::app
