#include "errors/show_error_window.h"

#include "app/control_table.h"
#include "app/shared.h"
#include "client/icq_lite.h"
#include "errors/mailto.h"
#include "errors/report_text.h"
#include "errors/trap.h"
#include "language/language.h"
#include "platform/dpi.h"
#include "platform/on_demand.h"

#include <commctrl.h>
#include <array>
#include <vector>

namespace velmora::err {
namespace {

using app::ControlKind;
using app::ControlRow;
using platform::TwipsToPx;

// Twips; the client area is laid out for 12630 x 6765.
const std::array<ControlRow, 3> kControls{{
    {IDC_ERR_MESSAGE, ControlKind::Label, L"lblError",
     L"Sorry, an error occured. Please help to enhence this program by sending this error report to",
     L"Es ist leider ein Fehler aufgetreten. Bitte helfen Sie, dieses Programm zu verbessern, und senden Sie "
     L"diesen Fehlerbericht an",
     120, 120, 6375, 195, 0},
    {IDC_ERR_ADDRESS, ControlKind::Link, L"lblAddress", nullptr, nullptr, 6720, 120, 1935, 255, 0},
    {IDC_ERR_TEXT, ControlKind::ReadOnlyText, L"txtError", nullptr, nullptr, 60, 600, 12540, 5520, 0},
}};
constexpr int kClientWidth = 12630, kClientHeight = 6765;
constexpr int kAddressGap = 50;

struct State {
    HWND hwnd = nullptr;
    UINT dpi = 96;
    platform::UniqueGdiObject font;     // labels
    platform::UniqueGdiObject textFont; // Courier New 9.75 pt bold, as reports always looked
    int messageWidth = 0;               // lblError's width in pixels, fitted to its text
};
State g;

const ControlRow& Row(int id) {
    for (const ControlRow& row : kControls)
        if (row.id == id)
            return row;
    return kControls[0];
}

std::wstring WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

// The message label is as wide as its (possibly translated) text, so that the address can
// follow it.
void FitMessageLabel() {
    HWND label = GetDlgItem(g.hwnd, IDC_ERR_MESSAGE);
    std::wstring text = WindowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, g.font.get());
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    g.messageWidth = rc.right + 2;
    const ControlRow& row = Row(IDC_ERR_MESSAGE);
    int height = std::max<int>(rc.bottom, TwipsToPx(row.height, g.dpi));
    SetWindowPos(label, nullptr, TwipsToPx(row.left, g.dpi), TwipsToPx(row.top, g.dpi), g.messageWidth,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The text box keeps its offsets from the top left and grows with the window; the address
// follows the message at a fixed gap.
void Form_Resize() {
    RECT client{};
    GetClientRect(g.hwnd, &client);
    if (!IsIconic(g.hwnd)) {
        const ControlRow& row = Row(IDC_ERR_TEXT);
        int left = TwipsToPx(row.left, g.dpi), top = TwipsToPx(row.top, g.dpi);
        int width = std::max<int>(0, client.right - 2 * left);
        int height = std::max<int>(0, client.bottom - 2 * top);
        SetWindowPos(GetDlgItem(g.hwnd, IDC_ERR_TEXT), nullptr, left, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const ControlRow& message = Row(IDC_ERR_MESSAGE);
    const ControlRow& address = Row(IDC_ERR_ADDRESS);
    int x = TwipsToPx(message.left, g.dpi) + g.messageWidth + TwipsToPx(kAddressGap, g.dpi);
    SetWindowPos(GetDlgItem(g.hwnd, IDC_ERR_ADDRESS), nullptr, x, TwipsToPx(address.top, g.dpi),
                 TwipsToPx(address.width, g.dpi), TwipsToPx(address.height, g.dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The new fonts are in use before the old ones are destroyed.
void ApplyFonts() {
    auto font = platform::CreateMessageFont(g.dpi);
    auto textFont = platform::CreatePointFont(L"Courier New", 9.75, g.dpi, true);
    platform::SetFontDeep(g.hwnd, static_cast<HFONT>(font.get()));
    SendMessageW(GetDlgItem(g.hwnd, IDC_ERR_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(textFont.get()),
                 TRUE);
    g.font = std::move(font);
    g.textFont = std::move(textFont);
}

void OpenMailLink() {
    std::wstring url = SupportMailto(WindowText(GetDlgItem(g.hwnd, IDC_ERR_TEXT)));
    wchar_t folder[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    std::wstring dir(folder, n);
    dir = dir.substr(0, dir.find_last_of(L'\\'));
    platform::on_demand::ShellExecuteW(g.hwnd, L"open", url.c_str(), nullptr, dir.c_str(), SW_SHOWNORMAL);
}

// Ctrl+A (Ctrl alone, no Shift or Alt) selects the whole report; every other key does its
// ordinary work. The edit control's own Ctrl+A character is swallowed so that Ctrl+Shift+A does
// not select everything either.
LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wp == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
            GetKeyState(VK_MENU) >= 0) {
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == 1) // Ctrl+A as a character
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, TextProc, 0);
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (g.hwnd)
            Form_Resize();
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->idFrom == IDC_ERR_ADDRESS && (header->code == NM_CLICK || header->code == NM_RETURN))
            OpenMailLink();
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL) // Esc
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_DPICHANGED: {
        g.dpi = HIWORD(wp);
        ApplyFonts();
        FitMessageLabel();
        auto* rc = reinterpret_cast<RECT*>(lp);
        SetWindowPos(hwnd, nullptr, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Form_Resize();
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        if (hwnd == g.hwnd)
            g.hwnd = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterClassOnce(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(instance, kErrorWindowClass, &wc))
        return;
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kErrorWindowClass;
    RegisterClassExW(&wc);
}

// Window load: create, lay out for the DPI, caption and controls in the current language.
void Load() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClassOnce(instance);
    const DWORD style = WS_OVERLAPPEDWINDOW, exStyle = WS_EX_CONTROLPARENT;
    g.hwnd = CreateWindowExW(exStyle, kErrorWindowClass, L"Error Report", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             100, 100, nullptr, nullptr, instance, nullptr);
    if (!g.hwnd)
        return;
    g.dpi = platform::WindowDpi(g.hwnd);
    HWND hwnd = g.hwnd;
    g.hwnd = nullptr; // no layout until every control exists
    app::CreateControls(hwnd, kControls, g.dpi);
    g.hwnd = hwnd;
    std::wstring link = std::wstring(L"<a>") + kSupportAddress + L"</a>";
    SetWindowTextW(GetDlgItem(hwnd, IDC_ERR_ADDRESS), link.c_str());
    SetWindowSubclass(GetDlgItem(hwnd, IDC_ERR_TEXT), TextProc, 0, 0);
    ApplyFonts();

    if (const Language* language = Shared().language)
        SetWindowTextW(hwnd, language->TranslateText(L"Error Report").c_str());
    app::TranslateControls(hwnd);
    FitMessageLabel();

    RECT rc{0, 0, TwipsToPx(kClientWidth, g.dpi), TwipsToPx(kClientHeight, g.dpi)};
    AdjustWindowRectExForDpi(&rc, style, FALSE, exStyle, g.dpi);
    SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Resize();
}

BOOL CALLBACK CollectThreadWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

// A window of this program that is shown modally: visible and enabled while the window that
// owns it is disabled.
HWND FindModalWindow() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectThreadWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) {
        if (hwnd == g.hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))
            continue;
        HWND owner = GetWindow(hwnd, GW_OWNER);
        if (owner && !IsWindowEnabled(owner))
            return hwnd;
    }
    return nullptr;
}

// Runs until the report window is closed, with modal the window it was shown over.
void RunModal(HWND modal) {
    HWND window = g.hwnd;
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(modal));
    EnableWindow(modal, FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    MSG msg;
    bool quit = false;
    while (IsWindow(window)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (IsDialogMessageW(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(modal, TRUE);
    SetActiveWindow(modal);
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

} // namespace

std::wstring SupportMailto(const std::wstring& reportText) {
    return BuildMailto(kSupportAddress, L"Velmora error report", reportText);
}

HWND ErrorWindow() {
    return g.hwnd;
}

void ErrorReport(const std::wstring& report) {
    try {
        if (!g.hwnd)
            Load();
        if (!g.hwnd)
            return;
        // A failing build lookup must not cost the user the report itself.
        // (After shutdown has released the registry object there is nothing to ask.)
        std::wstring build = Shared().reg ? IgnoreErrors([] { return icqlite::GetBuildId(); }, std::wstring())
                                          : std::wstring();
        // A NUL inside would end the shown text there.
        std::wstring text = DisplayText(report + L"\r\nICQ Lite Build: " + build);
        SetWindowTextW(GetDlgItem(g.hwnd, IDC_ERR_TEXT), text.c_str());

        if (!IsWindowVisible(g.hwnd)) {
            if (HWND modal = FindModalWindow()) {
                RunModal(modal);
                return;
            }
            ShowWindow(g.hwnd, SW_SHOWNORMAL);
        }
        if (IsIconic(g.hwnd))
            ShowWindow(g.hwnd, SW_RESTORE);
        SetForegroundWindow(g.hwnd);
        SetFocus(GetDlgItem(g.hwnd, IDC_ERR_TEXT));
    } catch (...) {
    }
}


} // namespace velmora::err
