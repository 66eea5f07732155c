#include "errors/show_error_window.h"

#include "errors/mailto.h"
#include "errors/report_text.h"
#include "platform/dpi.h"
#include "platform/shell_open.h"
#include "ui/window.h"

#include <commctrl.h>
#include <array>

namespace velmora::err {
namespace {

using ui::Kind;

constexpr std::array<ui::Control, 3> kControls{{
    // id            kind               key                                              x    y     w     h
    {IDC_ERR_MESSAGE, Kind::Label,
     L"Sorry, an error occured. Please help to enhence this program by sending this error report to", 120,
     120, 6375, 195},
    // The report follows the message that names it (for screen readers), the address link last.
    {IDC_ERR_TEXT, Kind::ReadOnlyText, nullptr, 60, 600, 12540, 5520},
    {IDC_ERR_ADDRESS, Kind::Link, nullptr, 6720, 120, 1935, 255},
}};
constexpr ui::WindowDef kDef{kErrorWindowClass, L"frmShowError", L"Error Report", true, 12630, 6765,
                             ui::kSizableLook,  kControls};
constexpr int kAddressGap = 50; // twips between the message and the address

BuildIdSource g_buildId = nullptr;

const ui::Control& Row(int id) {
    return *ui::FindControl(kControls, id);
}

// Ctrl+A (Ctrl alone, no Shift or Alt) selects the whole report; every other key does its
// ordinary work. The edit control's own Ctrl+A character is swallowed so that Ctrl+Shift+A does
// not select everything either.
LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) noexcept {
    switch (msg) {
    case WM_KEYDOWN:
        // The edit control of common controls 6 selects all on any Ctrl+A, with Shift too: only
        // Ctrl alone does it here.
        if (wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
            if (GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0)
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

class ErrorWindowImpl : public ui::Window {
public:
    explicit ErrorWindowImpl(std::wstring text) : Window(kDef), text_(std::move(text)) {}

    void SetReport(const std::wstring& text) { SetWindowTextW(Item(IDC_ERR_TEXT), text.c_str()); }

private:
    void OnLoad() override {
        std::wstring link = std::wstring(L"<a>") + build::kSupportAddress + L"</a>";
        SetWindowTextW(Item(IDC_ERR_ADDRESS), link.c_str());
        SetWindowSubclass(Item(IDC_ERR_TEXT), TextProc, 0, 0);
        ApplyTextFont();
        FitMessageLabel();
        WidenForTheMessage();
        OnSize();
        SetReport(text_);
    }

    // A translated message may be longer than the window was laid out for: the window grows so
    // that the address still follows it on the same line.
    void WidenForTheMessage() {
        const ui::Control& message = Row(IDC_ERR_MESSAGE);
        int needed = Px(message.x) + messageWidth_ + Px(kAddressGap) + addressWidth_ + Px(message.x);
        RECT client{}, window{};
        GetClientRect(Handle(), &client);
        GetWindowRect(Handle(), &window);
        if (client.right < needed)
            SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + needed - client.right,
                         window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void OnRelayout() override {
        ApplyTextFont();
        FitMessageLabel();
        OnSize();
    }

    // Courier New 9.75 pt bold, as reports always looked.
    void ApplyTextFont() {
        auto font = platform::CreatePointFont(L"Courier New", 9.75, Dpi(), true);
        SendMessageW(Item(IDC_ERR_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        textFont_ = std::move(font);
    }

    // The message label is as wide as its (possibly translated) text, so that the address can
    // follow it; the address is as wide as its own text.
    void FitMessageLabel() {
        HWND label = Item(IDC_ERR_MESSAGE);
        std::wstring text = ui::Text(label);
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, Font());
        RECT rc{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
        SIZE address{};
        GetTextExtentPoint32W(dc, build::kSupportAddress, lstrlenW(build::kSupportAddress), &address);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        messageWidth_ = rc.right + 2;
        addressWidth_ = address.cx + Px(60);
        const ui::Control& row = Row(IDC_ERR_MESSAGE);
        SetWindowPos(label, nullptr, Px(row.x), Px(row.y), messageWidth_,
                     std::max<int>(rc.bottom, Px(row.height)), SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The text box keeps its offsets from the top left and grows with the window; the address
    // follows the message at a fixed gap.
    void OnSize() override {
        RECT client{};
        GetClientRect(Handle(), &client);
        if (!IsIconic(Handle())) {
            const ui::Control& row = Row(IDC_ERR_TEXT);
            int left = Px(row.x), top = Px(row.y);
            SetWindowPos(Item(IDC_ERR_TEXT), nullptr, left, top, std::max<int>(0, client.right - 2 * left),
                         std::max<int>(0, client.bottom - 2 * top), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const ui::Control& message = Row(IDC_ERR_MESSAGE);
        const ui::Control& address = Row(IDC_ERR_ADDRESS);
        int x = Px(message.x) + messageWidth_ + Px(kAddressGap);
        SetWindowPos(Item(IDC_ERR_ADDRESS), nullptr, x, Px(address.y),
                     std::max(addressWidth_, Px(address.width)), Px(address.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LRESULT OnNotify(const NMHDR& header) override {
        if (header.idFrom == IDC_ERR_ADDRESS && (header.code == NM_CLICK || header.code == NM_RETURN)) {
            platform::OpenInShell(SupportMailto(ui::Text(Item(IDC_ERR_TEXT))));
        }
        return 0;
    }

    void OnCommand(int id, int) override {
        if (id == IDCANCEL) // Esc
            Close();
    }

    std::wstring text_;
    platform::UniqueGdiObject textFont_;
    int messageWidth_ = 0; // lblError's width in pixels, fitted to its text
    int addressWidth_ = 0; // lblAddress's
};

} // namespace

void SetBuildIdSource(BuildIdSource source) {
    g_buildId = source;
}

std::wstring SupportMailto(const std::wstring& reportText) {
    return BuildMailto(build::kSupportAddress, L"Velmora error report", reportText);
}

HWND ErrorWindow() {
    auto* window = ui::FindOpen<ErrorWindowImpl>();
    return window ? window->Handle() : nullptr;
}

void ErrorReport(const std::wstring& report) {
    try {
        // A NUL inside would end the shown text there.
        std::wstring text = DisplayText(report + L"\r\nICQ Lite Build: " + (g_buildId ? g_buildId() : L""));
        if (auto* open = ui::FindOpen<ErrorWindowImpl>()) {
            open->SetReport(text);
            if (IsIconic(open->Handle()))
                ShowWindow(open->Handle(), SW_RESTORE);
        } else if (ui::Window* modal = ui::ActiveModal()) {
            // Beside a modal window only a modal report can be used: it runs until it is closed.
            ui::RunModal<ErrorWindowImpl>(modal->Handle(), text);
            return;
        } else if (!ui::Open<ErrorWindowImpl>(nullptr, text)) {
            return;
        }
        HWND hwnd = ErrorWindow();
        SetForegroundWindow(hwnd);
        SetFocus(GetDlgItem(hwnd, IDC_ERR_TEXT));
    } catch (...) {
    }
}

} // namespace velmora::err
