// The error report window, driven inside the test process: the window is the program's own code,
// so its keyboard state, sizes and modality can be set up exactly.
#include "errors/show_error_window.h"

#include "app/shared.h"
#include "client/icq_lite.h"
#include "platform/dpi.h"
#include "settings/reg.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace velmora::err {
namespace {

using platform::TwipsToPx;

std::wstring Text(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

RECT ChildRect(HWND parent, int id) {
    RECT rc{};
    HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class ErrReportWindow : public testing::Test {
protected:
    void SetUp() override { Shared().reg = &reg_; }
    void TearDown() override {
        if (HWND hwnd = ErrorWindow())
            DestroyWindow(hwnd);
        Pump();
        Shared().reg = nullptr;
    }
    std::wstring BuildLine() const { return L"\r\nICQ Lite Build: " + icqlite::GetBuildId(); }

    Reg reg_;
};

TEST_F(ErrReportWindow, OneWindowWhoseTextIsTheLatestReport) {
    ErrorReport(L"first report\r\nline two");
    HWND hwnd = ErrorWindow();
    ASSERT_NE(hwnd, nullptr) << "no window after the first report";
    EXPECT_TRUE(IsWindowVisible(hwnd));
    HWND text = GetDlgItem(hwnd, IDC_ERR_TEXT);
    EXPECT_EQ(Text(text), L"first report\r\nline two" + BuildLine());
    EXPECT_NE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, 0) << "the report can be edited";
    // Tab, Enter and Esc keep their dialog meaning in the report.
    LRESULT code = SendMessageW(text, WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0) << "the text box wants every key: " << code;
    EXPECT_EQ(Text(hwnd), L"Error Report");

    ErrorReport(L"second report");
    EXPECT_EQ(ErrorWindow(), hwnd) << "a second report opened another window";
    EXPECT_EQ(Text(text), L"second report" + BuildLine()) << "the first report was kept";
    EXPECT_EQ(FindWindowExW(nullptr, hwnd, kErrorWindowClass, nullptr), nullptr)
        << "two report windows exist";

    // The report's font: Courier New 9.75 pt bold (13 px at 96 DPI).
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, L"Courier New");
    EXPECT_GE(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfHeight, -MulDiv(975, static_cast<int>(platform::WindowDpi(hwnd)), 7200));

    // Closing unloads it; the next report loads a new one.
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(ErrorWindow(), nullptr) << "the window is still loaded after closing";
    ErrorReport(L"third");
    ASSERT_NE(ErrorWindow(), nullptr);
    EXPECT_EQ(Text(GetDlgItem(ErrorWindow(), IDC_ERR_TEXT)), L"third" + BuildLine());
}

TEST_F(ErrReportWindow, CtrlAOnlySelectsAll) {
    ErrorReport(L"some report text");
    HWND text = GetDlgItem(ErrorWindow(), IDC_ERR_TEXT);
    const int length = GetWindowTextLengthW(text);
    struct Case {
        const char* name;
        bool ctrl, shift, alt;
        bool selectsAll;
    };
    const Case cases[] = {
        {"Ctrl+A", true, false, false, true},    {"Ctrl+Shift+A", true, true, false, false},
        {"Alt+A", false, false, true, false},    {"Ctrl+Alt+A", true, false, true, false},
        {"A alone", false, false, false, false}, {"Shift+A", false, true, false, false},
    };
    for (const Case& c : cases) {
        SendMessageW(text, EM_SETSEL, 0, 0);
        BYTE keys[256]{};
        keys[VK_CONTROL] = keys[VK_LCONTROL] = c.ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = c.shift ? 0x80 : 0;
        keys[VK_MENU] = keys[VK_LMENU] = c.alt ? 0x80 : 0;
        SetKeyboardState(keys);
        // What the keyboard would deliver: the key, then the character TranslateMessage makes.
        if (c.alt && !c.ctrl) {
            SendMessageW(text, WM_SYSKEYDOWN, 'A', 0x20000001);
            SendMessageW(text, WM_SYSCHAR, 'a', 0x20000001);
        } else {
            SendMessageW(text, WM_KEYDOWN, 'A', 1);
            if (c.ctrl && !c.alt)
                SendMessageW(text, WM_CHAR, 1, 1);
        }
        BYTE none[256]{};
        SetKeyboardState(none);
        DWORD start = 0, end = 0;
        SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (c.selectsAll)
            EXPECT_TRUE(start == 0 && static_cast<int>(end) == length)
                << c.name << ": selection " << start << ".." << end << " of " << length;
        else
            EXPECT_EQ(end - start, 0u) << c.name << " selected " << start << ".." << end;
        EXPECT_EQ(GetWindowTextLengthW(text), length) << c.name << " changed the read-only text";
    }
}

TEST_F(ErrReportWindow, ResizeKeepsOffsetsAndNeverGoesNegative) {
    ErrorReport(L"report");
    HWND hwnd = ErrorWindow();
    const UINT dpi = platform::WindowDpi(hwnd);
    const int left = TwipsToPx(60, dpi), top = TwipsToPx(600, dpi);
    struct Case {
        const char* name;
        int clientWidth, clientHeight;
        int textWidth, textHeight;
    };
    const Case cases[] = {
        {"larger", 1000, 700, 1000 - 2 * left, 700 - 2 * top},
        {"smaller", 400, 300, 400 - 2 * left, 300 - 2 * top},
        {"too small for the text box", 6, 50, 0, 0},
    };
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    for (const Case& c : cases) {
        RECT rc{0, 0, c.clientWidth, c.clientHeight};
        AdjustWindowRectEx(&rc, style, FALSE, exStyle);
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        GetClientRect(hwnd, &client);
        if (client.right != c.clientWidth || client.bottom != c.clientHeight) {
            // The system keeps a minimum window size; the rule is checked against what it allowed.
            RECT text = ChildRect(hwnd, IDC_ERR_TEXT);
            EXPECT_EQ(text.right - text.left, std::max<int>(0, client.right - 2 * left)) << c.name;
            EXPECT_EQ(text.bottom - text.top, std::max<int>(0, client.bottom - 2 * top)) << c.name;
            continue;
        }
        RECT text = ChildRect(hwnd, IDC_ERR_TEXT);
        EXPECT_EQ(text.left, left) << c.name;
        EXPECT_EQ(text.top, top) << c.name;
        EXPECT_EQ(text.right - text.left, c.textWidth) << c.name;
        EXPECT_EQ(text.bottom - text.top, c.textHeight) << c.name;
    }

    // Minimised: the text box keeps its size.
    SetWindowPos(hwnd, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    RECT before = ChildRect(hwnd, IDC_ERR_TEXT);
    ShowWindow(hwnd, SW_MINIMIZE);
    RECT after = ChildRect(hwnd, IDC_ERR_TEXT);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << "minimising resized the text box";
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "minimising resized the text box";
}

TEST_F(ErrReportWindow, AddressFollowsTheMessage) {
    ErrorReport(L"report");
    HWND hwnd = ErrorWindow();
    const UINT dpi = platform::WindowDpi(hwnd);
    RECT message = ChildRect(hwnd, IDC_ERR_MESSAGE);
    RECT address = ChildRect(hwnd, IDC_ERR_ADDRESS);
    EXPECT_EQ(address.left, message.right + TwipsToPx(50, dpi))
        << "message ends at " << message.right << ", address starts at " << address.left;

    // The message label is as wide as its text, whatever the language.
    HWND label = GetDlgItem(hwnd, IDC_ERR_MESSAGE);
    std::wstring text = Text(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    EXPECT_GE(message.right - message.left, size.cx) << "the message is cut";
    EXPECT_LE(message.right - message.left, size.cx + 4) << "the address does not follow the message";
    EXPECT_NE(Text(GetDlgItem(hwnd, IDC_ERR_ADDRESS)).find(kSupportAddress), std::wstring::npos);
}

// A window shown modally over its owner, as the settings window is.
struct ModalScene {
    HWND owner = nullptr, dialog = nullptr;
    ModalScene() {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
        dialog = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 200, 100,
                                 owner, nullptr, nullptr, nullptr);
        EnableWindow(owner, FALSE);
    }
    ~ModalScene() {
        DestroyWindow(dialog);
        DestroyWindow(owner);
    }
};

TEST_F(ErrReportWindow, ModalOnlyOverAModalWindow) {
    {
        ModalScene scene;
        std::atomic<bool> sawWindow{false}, dialogWasDisabled{false}, ownedByDialog{false};
        std::thread watcher([&] {
            HWND report = nullptr;
            sawWindow = test::WaitFor([&] {
                report = FindWindowW(kErrorWindowClass, nullptr);
                return report && IsWindowVisible(report);
            });
            if (sawWindow) {
                dialogWasDisabled = !IsWindowEnabled(scene.dialog);
                ownedByDialog = GetWindow(report, GW_OWNER) == scene.dialog;
                PostMessageW(report, WM_CLOSE, 0, 0);
            }
        });
        ErrorReport(L"while a modal window is open");
        // Only returns once the report window was closed.
        bool closed = ErrorWindow() == nullptr;
        watcher.join();
        ASSERT_TRUE(sawWindow) << "the report window never showed";
        EXPECT_TRUE(closed) << "the report returned while its window was still open";
        EXPECT_TRUE(dialogWasDisabled) << "the modal window took input while the report was shown";
        EXPECT_TRUE(ownedByDialog) << "the report window was not owned by the modal window";
        EXPECT_TRUE(IsWindowEnabled(scene.dialog)) << "the modal window stayed disabled";
    }
    // No modal window: the report shows beside the others and the call returns at once.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    ErrorReport(L"modeless");
    ASSERT_NE(ErrorWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(ErrorWindow()));
    EXPECT_TRUE(IsWindowEnabled(other)) << "a modeless report disabled another window";
    EXPECT_EQ(GetWindow(ErrorWindow(), GW_OWNER), nullptr);
    DestroyWindow(other);
}

} // namespace
} // namespace velmora::err
