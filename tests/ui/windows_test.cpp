// Every window of the program, made in this process in every shipped language and at 100, 150 and
// 200 % scaling: every text fits its control, Hebrew windows are mirrored, every input is named by
// the label before it and no two controls of a window share a mnemonic. Pictures of each window at
// 100 and 150 % go to the artifacts folder for a person to look at.
#include "app/main_window.h"
#include "app/main_window_ids.h"
#include "app/shared.h"
#include "app/wait_window.h"
#include "errors/show_error_window.h"
#include "info/info_window.h"
#include "language/language.h"
#include "language/translate.h"
#include "platform/dpi.h"
#include "settings/settings.h"
#include "settings/settings_window.h"
#include "support/app.h"
#include "textfiles/file.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <functional>
#include <regex>
#include <set>

namespace velmora {
namespace {

using test::Narrow;

// The width a text needs in the control's own font (one line, mnemonic marks not counted).
SIZE Extent(HWND control, const std::wstring& text, UINT format = DT_SINGLELINE, int width = 0) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rc{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {rc.right, rc.bottom};
}

// What one control needs, in pixels, against what it has; width 0 for controls that show data.
struct Need {
    SIZE need, has;
};
Need Measure(HWND control, UINT dpi) {
    RECT rc{};
    GetClientRect(control, &rc);
    SIZE has{rc.right, rc.bottom};
    std::wstring cls = gui::ClassName(control), text = ui::Text(control);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    int arrow = platform::SystemMetric(SM_CXVSCROLL, dpi) + 2 * platform::SystemMetric(SM_CXEDGE, dpi) + 4;
    if (!_wcsicmp(cls.c_str(), L"Button")) {
        if ((style & BS_TYPEMASK) == BS_GROUPBOX) // the caption sits in the frame line, indented
            return {{Extent(control, text).cx + MulDiv(16, static_cast<int>(dpi), 96), 0}, has};
        SIZE ideal{};
        SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        return {{ideal.cx, 0}, has};
    }
    if (!_wcsicmp(cls.c_str(), L"Static") && (style & SS_TYPEMASK) == SS_LEFT)
        return {Extent(control, text, DT_WORDBREAK, has.cx), has};
    if (!_wcsicmp(cls.c_str(), WC_LINK)) { // the text without its <a> markup
        std::wstring shown = std::regex_replace(text, std::wregex(L"<[^>]*>"), L"");
        return {{Extent(control, shown, DT_SINGLELINE | DT_NOPREFIX).cx, 0}, has};
    }
    if (cls == WC_COMBOBOXEXW || (!_wcsicmp(cls.c_str(), L"ComboBox") && (style & 3) == CBS_DROPDOWNLIST)) {
        int widest = 0;
        for (const std::wstring& item : gui::ComboItems(control))
            widest = std::max<int>(widest, Extent(control, item, DT_SINGLELINE | DT_NOPREFIX).cx);
        int picture = 0;
        if (auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(control, CBEM_GETIMAGELIST, 0, 0))) {
            int w = 0, h = 0;
            ImageList_GetIconSize(images, &w, &h);
            picture = w + MulDiv(8, static_cast<int>(dpi), 96);
        }
        return {{widest + picture + arrow, 0}, has};
    }
    return {{0, 0}, has};
}

bool IsInput(HWND control) {
    std::wstring cls = gui::ClassName(control);
    return !_wcsicmp(cls.c_str(), L"Edit") || !_wcsicmp(cls.c_str(), L"ComboBox") || cls == WC_COMBOBOXEXW;
}

// The letter after a single "&", lower case; 0 for none.
wchar_t Mnemonic(const std::wstring& text) {
    for (size_t i = text.find(L'&'); i != text.npos && i + 1 < text.size(); i = text.find(L'&', i + 2))
        if (text[i + 1] != L'&')
            return static_cast<wchar_t>(towlower(text[i + 1]));
    return 0;
}

class EveryWindow : public testing::Test {
protected:
    EveryWindow() {
        test::RecordUsers({{L"123456789", 1, {{L"AwayStatusText", L"Back in five minutes"}}}}, L"123456789");
        settings_.SetRegKey(test::kSettingsKey);
        Shared() = SharedObjects{&file_, &reg_, &settings_, &language_};
        SetCurrentLanguage(&language_);
        artifacts_ = _wgetenv(L"VELMORA_ARTIFACTS") ? _wgetenv(L"VELMORA_ARTIFACTS") : L"";
    }
    ~EveryWindow() override {
        ui::SetDpiOverride(0);
        SetCurrentLanguage(nullptr);
        Shared() = SharedObjects{};
    }

    // Everything that is wrong with one window, one line each.
    void Inspect(HWND window, const wchar_t* name) {
        ASSERT_NE(window, nullptr) << Narrow(name) << " did not open";
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        std::string where =
            Narrow(name) + " in " + Narrow(language_.LanguageFile()) + " at " + std::to_string(dpi_) + " DPI";
        bool mirrored = GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL;
        EXPECT_EQ(mirrored, language_.LanguageFile() == L"Hebrew") << where << ": mirrored " << mirrored;
        std::set<wchar_t> mnemonics;
        RECT client{};
        GetClientRect(window, &client);
        for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            std::string what = where + ", control " + std::to_string(GetDlgCtrlID(control)) + " (" +
                               Narrow(gui::ClassName(control)) + " \"" + Narrow(ui::Text(control)) + "\")";
            RECT rc{};
            GetWindowRect(control, &rc);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
            if (mirrored) // mapped into a mirrored window, left and right come swapped
                std::swap(rc.left, rc.right);
            EXPECT_TRUE(!IsWindowVisible(control) ||
                        (rc.left >= 0 && rc.right <= client.right && rc.bottom <= client.bottom))
                << what << " lies outside the window: " << rc.left << ".." << rc.right << " of "
                << client.right;
            Need n = Measure(control, dpi_);
            EXPECT_TRUE(n.need.cx <= n.has.cx && n.need.cy <= n.has.cy)
                << what << " needs " << n.need.cx << "x" << n.need.cy << " px, has " << n.has.cx << "x"
                << n.has.cy;
            if (IsInput(control)) {
                HWND label = GetWindow(control, GW_HWNDPREV);
                EXPECT_TRUE(label && !_wcsicmp(gui::ClassName(label).c_str(), L"Static") &&
                            !ui::Text(label).empty())
                    << what << ": no label before it names it";
            }
            wchar_t letter = gui::ClassName(control) == WC_LINK ? 0 : Mnemonic(ui::Text(control));
            EXPECT_TRUE(!letter || mnemonics.insert(letter).second) << what << ": its mnemonic is taken";
        }
        if (!artifacts_.empty() && dpi_ <= 144) {
            std::wstring file = artifacts_ + L"\\" + name + L"-" + language_.LanguageFile() + L"-" +
                                std::to_wstring(dpi_) + L".bmp";
            EXPECT_TRUE(gui::SaveWindowBitmap(window, file)) << where << ": no picture";
        }
    }

    // Opens a modal window through open; it is inspected once it shows, then closed.
    void InspectModal(const wchar_t* className, const wchar_t* name, const std::function<void()>& open) {
        static std::function<void()> tick;
        static UINT_PTR timer;
        bool seen = false;
        tick = [&] {
            HWND window = FindWindowW(className, nullptr);
            if (!window || !IsWindowVisible(window))
                return;
            KillTimer(nullptr, timer);
            seen = true;
            Inspect(window, name);
            PostMessageW(window, WM_CLOSE, 0, 0);
        };
        timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { tick(); });
        open();
        EXPECT_TRUE(seen) << Narrow(name) << " did not show";
    }

    void InspectAll() {
        ui::SetDpiOverride(dpi_);
        app::MainWindow::Show();
        app::MainWindow* main = app::MainWindow::Find();
        Inspect(main ? main->Handle() : nullptr, L"main");
        EXPECT_NE(main ? GetClassLongPtrW(main->Handle(), GCLP_HICON) : 0, 0)
            << "the main window has no icon";
        app::ShowWaitWindow(nullptr);
        Inspect(FindWindowW(app::kWaitWindowClass, nullptr), L"wait");
        app::CloseWaitWindow();
        err::ErrorReport(L"A report\r\n  Call Stack: frmMain.cbtnStart_Click()");
        Inspect(err::ErrorWindow(), L"report");
        ui::Window::FromHandle(err::ErrorWindow())->End();
        InspectModal(kSettingsWindowClass, L"settings", [&] { ShowSettings(nullptr, settings_, language_); });
        InspectModal(info::kInfoWindowClass, L"info", [&] { info::ShowInfo(nullptr); });
        InspectModal(info::kThanksWindowClass, L"thanks",
                     [&] { info::ShowThanks(Translate(L"Thanks to..."), nullptr); });
        if (main)
            main->End();
    }

    test::ScratchKey settingsKey_{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    test::ScratchKey owners_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    test::ScratchKey machine_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    File file_;
    Reg reg_;
    Settings settings_{reg_};
    Language language_{settings_, file_, test::BinDir() + L"\\Languages\\"};
    std::wstring artifacts_;
    UINT dpi_ = 96;
};

TEST_F(EveryWindow, TextsFitMirroredInHebrewNamedInputsOwnMnemonics) {
    for (const LanguageEntry& language : language_.GetAllLanguages()) {
        language_.SetLanguageFile(language.file);
        for (UINT dpi : {96u, 144u, 192u}) {
            dpi_ = dpi;
            InspectAll();
        }
    }
}

} // namespace
} // namespace velmora
