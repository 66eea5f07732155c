// Pictures of the main window at 100 % and 150 % scaling, in English and German, for a person to
// look at (written to the folder in VELMORA_ARTIFACTS). The test checks that the window really
// was laid out for the scaling; it does not compare pixels.
#include "gui_driver/gui_driver.h"

#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "platform/dpi.h"
#include "settings/reg.h"
#include "support/standin.h"
#include "support/support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The scaling new processes start with (Wine reads it at process start); put back afterwards.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        DWORD size = sizeof(old_);
        had_ = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &old_,
                            &size) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    ~ScopedLogPixels() {
        if (had_)
            RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &old_, sizeof(old_));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
    }

private:
    bool had_ = false;
    DWORD old_ = 96;
};

BOOL CALLBACK FindUnpainted(HWND hwnd, LPARAM found) {
    if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the window and all its controls have been painted.
bool Painted(HWND main) {
    bool unpainted = GetUpdateRect(main, nullptr, FALSE) != FALSE;
    if (!unpainted)
        EnumChildWindows(main, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

TEST(MainWindowScreenshots, AtTwoScalingsInTwoLanguages) {
    Reg reg;
    test::ScratchKey settings{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    test::ScratchKey owners{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    test::ScratchKey machine{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    test::StandinInstall install;
    test::RecordUsers({{L"123456789", 1, {{L"AwayStatusText", L"Back in five minutes"}}},
                       {L"44556677", {}, {}},
                       {L"987654", {}, {}}},
                      L"123456789");

    const wchar_t* artifacts = _wgetenv(L"VELMORA_ARTIFACTS");
    const std::wstring dir = artifacts ? artifacts : test::FreshTempDir(L"screenshots");
    std::wstring captions[2]; // German, English
    for (DWORD dpi : {96u, 144u}) {
        ScopedLogPixels scaling(dpi);
        for (const wchar_t* language : {L"English", L"Deutsch"}) {
            const std::string name = std::string("main-") + (language[0] == L'E' ? "English" : "Deutsch") +
                                     "-" + std::to_string(dpi);
            reg.WriteValue(L"Language", language, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
            reg.DeleteValue(L"frmMain.Left", test::kSettingsKey, HKEY_CURRENT_USER);
            reg.DeleteValue(L"frmMain.Top", test::kSettingsKey, HKEY_CURRENT_USER);
            test::ChildProcess velmora = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
            HWND main = gui::WaitForTopWindow(velmora.Id(), app::kMainWindowClass, app::kMainWindowTitle);
            ASSERT_NE(main, nullptr) << name;
            ASSERT_TRUE(test::WaitFor([&] {
                return gui::ComboCount(gui::Control(main, app::IDC_IMGCOMB_STATUS)) == 7;
            })) << name;

            // Laid out for the scaling: the client area is the designed size in twips at this DPI.
            RECT client{};
            GetClientRect(main, &client);
            EXPECT_EQ(client.right, platform::TwipsToPx(4095, dpi)) << name;
            EXPECT_EQ(client.bottom, platform::TwipsToPx(5475, dpi)) << name;
            RECT start = gui::WindowRect(gui::Control(main, app::IDC_CBTN_START));
            captions[language[0] == L'E'] = gui::Text(gui::Control(main, app::IDC_CBTN_START));
            EXPECT_EQ(start.bottom - start.top, platform::TwipsToPx(555, dpi)) << name;

            // Painted before the picture is taken: no part of the window waits for painting,
            // twice in a row (the focused box paints its selection a moment after it gets it).
            int settled = 0;
            test::WaitFor(
                [&] {
                    settled = Painted(main) ? settled + 1 : 0;
                    return settled >= 2;
                },
                5s);
            std::wstring file = dir + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp";
            EXPECT_TRUE(gui::SaveWindowBitmap(main, file)) << name;
            gui::Close(main);
            EXPECT_EQ(velmora.Wait(10s), 0) << name;
        }
        EXPECT_EQ(captions[1], L"Start ICQ Lite");
        EXPECT_NE(captions[0], captions[1]) << "the German window shows English";
    }
}

} // namespace
} // namespace velmora
