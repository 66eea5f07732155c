// The error report window, driven inside the test process: the window is the program's own code,
// so its keyboard state, sizes and modality can be set up exactly.
#include "errors/show_error_window.h"

#include "app/shared.h"
#include "client/icq_lite.h"
#include "platform/dpi.h"
#include "settings/reg.h"
#include "support/support.h"
#include "ui/window.h"

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

RECT ChildRect(HWND parent, int id) {
    RECT rc{};
    GetWindowRect(GetDlgItem(parent, id), &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class ErrReportWindow : public testing::Test {
protected:
    void SetUp() override { Shared().reg = &reg_; }
    void TearDown() override {
        if (HWND hwnd = ErrorWindow())
            DestroyWindow(hwnd);
        Shared().reg = nullptr;
    }
    std::wstring BuildLine() const { return L"\r\nICQ Lite Build: " + icqlite::GetBuildId(); }
    Reg reg_;
};

TEST_F(ErrReportWindow, OneWindowShowingTheLatestReport) {
    ErrorReport(L"first report");
    HWND hwnd = ErrorWindow();
    ASSERT_NE(hwnd, nullptr) << "no window after the first report";
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(Text(hwnd), L"Error Report");
    HWND text = GetDlgItem(hwnd, IDC_ERR_TEXT);
    EXPECT_EQ(Text(text), L"first report" + BuildLine());
    EXPECT_NE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, 0) << "the report can be edited";
    EXPECT_EQ(SendMessageW(text, WM_GETDLGCODE, 0, 0) & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0)
        << "Tab and Esc would not work as in a dialog";

    ErrorReport(L"second report");
    EXPECT_EQ(ErrorWindow(), hwnd) << "a second report opened another window";
    EXPECT_EQ(Text(text), L"second report" + BuildLine()) << "the first report was kept";
    EXPECT_EQ(FindWindowExW(nullptr, hwnd, kErrorWindowClass, nullptr), nullptr) << "two report windows";

    SendMessageW(hwnd, WM_CLOSE, 0, 0); // closing unloads it; the next report loads it again
    EXPECT_EQ(ErrorWindow(), nullptr);
    ErrorReport(L"third");
    ASSERT_NE(ErrorWindow(), nullptr);
    EXPECT_EQ(Text(GetDlgItem(ErrorWindow(), IDC_ERR_TEXT)), L"third" + BuildLine());
}

TEST_F(ErrReportWindow, CtrlAOnlySelectsAll) {
    ErrorReport(L"some report text");
    HWND text = GetDlgItem(ErrorWindow(), IDC_ERR_TEXT);
    const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(text));
    struct Case {
        const char* name;
        bool ctrl, shift, alt, selectsAll;
    };
    const Case cases[] = {{"Ctrl+A", true, false, false, true},    {"Ctrl+Shift+A", true, true, false, false},
                          {"Alt+A", false, false, true, false},    {"Ctrl+Alt+A", true, false, true, false},
                          {"A alone", false, false, false, false}, {"Shift+A", false, true, false, false}};
    for (const Case& c : cases) {
        SendMessageW(text, EM_SETSEL, 0, 0);
        BYTE keys[256]{};
        keys[VK_CONTROL] = keys[VK_LCONTROL] = c.ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = c.shift ? 0x80 : 0;
        keys[VK_MENU] = keys[VK_LMENU] = c.alt ? 0x80 : 0;
        SetKeyboardState(keys);
        // What the keyboard delivers: the key, then the character TranslateMessage makes of it.
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
        EXPECT_EQ(end - start, c.selectsAll ? length : 0) << c.name << " selected " << start << ".." << end;
        EXPECT_EQ(static_cast<DWORD>(GetWindowTextLengthW(text)), length) << c.name << " changed the text";
    }
}

TEST_F(ErrReportWindow, TextBoxFollowsTheSizeNeverBelowZero) {
    ErrorReport(L"report");
    HWND hwnd = ErrorWindow();
    const UINT dpi = platform::WindowDpi(hwnd);
    const int left = TwipsToPx(60, dpi), top = TwipsToPx(600, dpi);
    for (SIZE client : {SIZE{1000, 700}, SIZE{400, 300}, SIZE{6, 50}}) {
        RECT rc{0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        RECT got{}; // the system may keep a minimum size: the rule is checked against what it allowed
        GetClientRect(hwnd, &got);
        RECT box = ChildRect(hwnd, IDC_ERR_TEXT);
        EXPECT_TRUE(box.left == left && box.top == top &&
                    box.right - box.left == std::max<int>(0, got.right - 2 * left) &&
                    box.bottom - box.top == std::max<int>(0, got.bottom - 2 * top))
            << "client " << got.right << "x" << got.bottom << ": text box " << box.left << "," << box.top
            << " " << box.right - box.left << "x" << box.bottom - box.top;
    }
    RECT before = ChildRect(hwnd, IDC_ERR_TEXT);
    ShowWindow(hwnd, SW_MINIMIZE);
    RECT after = ChildRect(hwnd, IDC_ERR_TEXT);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << "minimising resized the text box";
}

// A window of the program run modally that asks for a report as soon as it is up.
constexpr ui::WindowSpec kModalSpec{L"VelmoraTestModal", L"frmTest", L"modal", false, 3000, 1500,
                                    ui::kDialogLook,     {}};
class ModalProbe : public ui::Window {
public:
    ModalProbe() : Window(kModalSpec) {}

private:
    void OnLoad() override { PostMessageW(Handle(), WM_APP, 0, 0); }
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg != WM_APP)
            return std::nullopt;
        ErrorReport(L"while a modal window is open"); // returns once the report window is closed
        End(ErrorWindow() == nullptr ? 1 : 2);
        return 0;
    }
};

TEST_F(ErrReportWindow, ModalOnlyOverAModalWindow) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    std::atomic<bool> seen{false}, modalDisabled{false}, ownedByModal{false};
    std::thread watcher([&] {
        HWND report = nullptr;
        seen = test::WaitFor(
            [&] { return (report = FindWindowW(kErrorWindowClass, nullptr)) && IsWindowVisible(report); });
        if (seen) {
            HWND modal = FindWindowW(L"VelmoraTestModal", nullptr);
            modalDisabled = !IsWindowEnabled(modal);
            ownedByModal = GetWindow(report, GW_OWNER) == modal;
            PostMessageW(report, WM_CLOSE, 0, 0);
        }
    });
    int result = ui::RunModal<ModalProbe>(owner);
    watcher.join();
    ASSERT_TRUE(seen) << "the report window never showed";
    EXPECT_EQ(result, 1) << "the report returned while its window was still open";
    EXPECT_TRUE(modalDisabled) << "the modal window took input during the report";
    EXPECT_TRUE(ownedByModal) << "the report window was not owned by the modal window";
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner stayed disabled";

    ErrorReport(L"modeless"); // no modal window: shown beside the others, the call returns at once
    ASSERT_NE(ErrorWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(ErrorWindow()));
    EXPECT_EQ(GetWindow(ErrorWindow(), GW_OWNER), nullptr);
    DestroyWindow(owner);
}

} // namespace
} // namespace velmora::err
