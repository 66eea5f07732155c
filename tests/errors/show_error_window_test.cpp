// The error report window, driven inside the test process: the window is the program's own code,
// so its keyboard state, sizes and modality can be set up exactly.
#include "errors/show_error_window.h"

#include "errors/mailto.h"
#include "support/support.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace velmora::err {
namespace {

std::wstring Build() {
    return L"4711 test build";
}

class ErrReportWindow : public testing::Test {
protected:
    ErrReportWindow() { SetBuildIdSource(Build); }
    ~ErrReportWindow() override {
        if (HWND hwnd = ErrorWindow())
            DestroyWindow(hwnd);
        SetBuildIdSource(nullptr);
    }
    static HWND Item(int id) { return GetDlgItem(ErrorWindow(), id); }
    static RECT Place(int id) {
        RECT rc{};
        GetWindowRect(Item(id), &rc);
        MapWindowPoints(nullptr, ErrorWindow(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
};

// One window; a second report replaces the first; closing unloads it and the next loads it again.
TEST_F(ErrReportWindow, OneWindowShowingTheLatestReport) {
    for (const wchar_t* report : {L"first", L"second", L"after a close"}) {
        ErrorReport(report);
        HWND hwnd = ErrorWindow();
        ASSERT_NE(hwnd, nullptr) << "no window";
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_EQ(ui::Text(hwnd), L"Error Report");
        EXPECT_EQ(ui::Text(Item(IDC_ERR_TEXT)),
                  std::wstring(report) + L"\r\nICQ Lite Build: 4711 test build");
        EXPECT_EQ(FindWindowExW(nullptr, hwnd, kErrorWindowClass, nullptr), nullptr) << "two report windows";
        EXPECT_NE(GetWindowLongW(Item(IDC_ERR_TEXT), GWL_STYLE) & ES_READONLY, 0)
            << "the report can be edited";
        if (report == std::wstring(L"second")) {
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
            EXPECT_EQ(ErrorWindow(), nullptr);
        }
    }
    // The address follows the message at 50 twips, whatever the message's length.
    RECT message = Place(IDC_ERR_MESSAGE), address = Place(IDC_ERR_ADDRESS);
    EXPECT_EQ(address.left - message.right,
              MulDiv(50, static_cast<int>(GetDpiForWindow(ErrorWindow())), 1440));
    // A report open as the program ends (its last error came on the way out) keeps the program
    // until the user closes it.
    ui::EndWithTheLastWindow();
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "ended under the report";
    SendMessageW(ErrorWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "did not end with the report";
}

TEST_F(ErrReportWindow, CtrlAOnlySelectsAll) {
    ErrorReport(L"some report text");
    HWND text = Item(IDC_ERR_TEXT);
    const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(text));
    const struct {
        const char* name;
        bool ctrl, shift, alt, selectsAll;
    } cases[] = {{"Ctrl+A", true, false, false, true},
                 {"Ctrl+Shift+A", true, true, false, false},
                 {"Alt+A", false, false, true, false},
                 {"Ctrl+Alt+A (AltGr)", true, false, true, false}};
    for (const auto& c : cases) {
        SendMessageW(text, EM_SETSEL, 0, 0);
        BYTE keys[256]{};
        keys[VK_CONTROL] = keys[VK_LCONTROL] = c.ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = c.shift ? 0x80 : 0;
        keys[VK_MENU] = keys[VK_LMENU] = c.alt ? 0x80 : 0;
        SetKeyboardState(keys);
        // What the keyboard delivers: the key, then the character TranslateMessage makes of it.
        SendMessageW(text, c.alt && !c.ctrl ? WM_SYSKEYDOWN : WM_KEYDOWN, 'A', c.alt ? 0x20000001 : 1);
        if (c.ctrl && !c.alt)
            SendMessageW(text, WM_CHAR, 1, 1);
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
    const RECT first = Place(IDC_ERR_TEXT); // its offsets from the top left are kept
    for (SIZE client : {SIZE{1000, 700}, SIZE{400, 300}, SIZE{6, 50}}) {
        RECT rc{0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        RECT got{}; // the system may keep a minimum size: the rule is checked against what it allowed
        GetClientRect(hwnd, &got);
        RECT box = Place(IDC_ERR_TEXT);
        EXPECT_TRUE(box.left == first.left && box.top == first.top &&
                    box.right - box.left == std::max<int>(0, got.right - 2 * first.left) &&
                    box.bottom - box.top == std::max<int>(0, got.bottom - 2 * first.top))
            << "client " << got.right << "x" << got.bottom << ": text box " << box.right - box.left << "x"
            << box.bottom - box.top;
    }
    RECT before = Place(IDC_ERR_TEXT);
    ShowWindow(hwnd, SW_MINIMIZE);
    RECT after = Place(IDC_ERR_TEXT);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << "minimising resized the text box";
}

// A window of the program run modally that asks for a report as soon as it is up.
constexpr ui::WindowDef kModalDef{L"VelmoraTestModal", L"frmTest", L"modal", false, 3000, 1500,
                                  ui::kDialogLook,     {}};
class ModalProbe : public ui::Window {
public:
    ModalProbe() : Window(kModalDef) {}

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

// Beside a modal window the report is modal over it; otherwise it is shown beside the others.
TEST_F(ErrReportWindow, ModalOnlyOverAModalWindow) {
    std::atomic<bool> seen{false}, modalDisabled{false}, ownedByModal{false};
    std::thread watcher([&] {
        HWND report = nullptr;
        seen = test::WaitFor(
            [&] { return (report = FindWindowW(kErrorWindowClass, nullptr)) && IsWindowVisible(report); });
        HWND modal = FindWindowW(L"VelmoraTestModal", nullptr);
        modalDisabled = !IsWindowEnabled(modal);
        ownedByModal = GetWindow(report, GW_OWNER) == modal;
        PostMessageW(report, WM_CLOSE, 0, 0);
    });
    int result = ui::RunModal<ModalProbe>(nullptr);
    watcher.join();
    ASSERT_TRUE(seen) << "the report window never showed";
    EXPECT_EQ(result, 1) << "the report returned while its window was still open";
    EXPECT_TRUE(modalDisabled) << "the modal window took input during the report";
    EXPECT_TRUE(ownedByModal) << "the report window was not owned by the modal window";

    ErrorReport(L"modeless"); // no modal window: the call returns at once
    ASSERT_NE(ErrorWindow(), nullptr);
    EXPECT_EQ(GetWindow(ErrorWindow(), GW_OWNER), nullptr);
}

// A click on the address starts the mail program (a recorder here) with a well-formed mailto:
// link holding the report, cut to what the shell passes on.
TEST_F(ErrReportWindow, AddressClickStartsAMailWithTheReport) {
    test::UrlRecorder mail({L"mailto"});
    std::wstring report = L"Error 5 in clsStarter.StartICQ: Ungültiger Aufruf & mehr\r\n";
    for (int i = 0; i < 200; ++i)
        report += L"  Call Stack: frmMain.cbtnStart_Click\r\n";
    ErrorReport(report);
    RECT rc{};
    GetClientRect(Item(IDC_ERR_ADDRESS), &rc);
    SendMessageW(Item(IDC_ERR_ADDRESS), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, rc.bottom / 2));
    SendMessageW(Item(IDC_ERR_ADDRESS), WM_LBUTTONUP, 0, MAKELPARAM(4, rc.bottom / 2));
    std::wstring url = mail.Take();
    EXPECT_TRUE(url.starts_with(
        L"mailto:support@ardentix.example?subject=Velmora%20error%20report&body=Error%205%20in"))
        << test::Narrow(url);
    EXPECT_NE(url.find(L"Ung%C3%BCltiger%20Aufruf%20%26%20mehr%0D%0A"), std::wstring::npos)
        << test::Narrow(url);
    EXPECT_LE(url.size(), kMaxMailtoLength);
}

} // namespace
} // namespace velmora::err
