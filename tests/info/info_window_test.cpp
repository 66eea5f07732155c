// The information and thanks windows of the real velmora.exe, opened from the main window: their
// texts in English, German and Hebrew (left to right and mirrored; tests/ui has every language) and
// the links they open (the shell's handlers are replaced by a recorder for the test).
#include "app/main_window_ids.h"
#include "build_settings.h"
#include "info/info_window.h"
#include "info/links.h"
#include "support/app.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace velmora::info {
namespace {

using test::Narrow;

// Opens the program and its info window.
HWND OpenInfo(test::App& app) {
    if (!app.Start() || !gui::Click(app.Item(app::IDC_CBTN_INFO)))
        return nullptr;
    return app.Window(kInfoWindowClass);
}

TEST(InfoWindowE2E, TextsInEveryLanguageAndTheThanksWindow) {
    for (const wchar_t* language : {L"English", L"Deutsch", L"Hebrew"}) {
        SCOPED_TRACE(Narrow(language));
        test::App app(language);
        HWND info = OpenInfo(app);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(GetWindow(info, GW_OWNER), app.Main());
        EXPECT_EQ(gui::Text(info), test::Shipped(language, L"Info"));
        EXPECT_EQ(gui::Text(gui::Control(info, IDC_INFO_VERSION)), L"Version " VELMORA_TEST_VERSION);
        EXPECT_EQ(gui::Text(gui::Control(info, IDC_INFO_COPYRIGHT)), build::kMakerLine);
        std::wstring thanks = gui::Text(gui::Control(info, IDC_INFO_THANKS));
        EXPECT_EQ(thanks, test::Shipped(language, L"Thanks to..."));

        ASSERT_TRUE(gui::Click(gui::Control(info, IDC_INFO_THANKS)));
        HWND window = app.Window(kThanksWindowClass);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(gui::Text(window), ui::WithoutMnemonics(thanks)) << "not the button's caption as shown";
        EXPECT_EQ(gui::Text(gui::Control(window, IDC_THANKS_TEXT)),
                  test::Shipped(language, L"Thanks for the Hebrew language file to") + L" " +
                      build::kHebrewTranslator);
        EXPECT_EQ(GetWindow(window, GW_OWNER), info);
        EXPECT_FALSE(gui::IsEnabled(info));
        ASSERT_TRUE(gui::Click(gui::Control(window, IDOK)));
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(window) && gui::IsEnabled(info); }))
            << "not back in the info window";
        ASSERT_TRUE(gui::Click(gui::Control(info, IDOK)));
        EXPECT_TRUE(test::WaitFor([&] {
            return !IsWindow(info) && gui::IsUsable(app.Item(app::IDC_CBTN_START));
        })) << "the main window is not usable again";
        EXPECT_EQ(app.Close(), 0);
    }
}

// Clicks a link control as the mouse would.
void ClickLink(HWND link) {
    RECT rc{};
    GetClientRect(link, &rc);
    LPARAM at = MAKELPARAM(4, (rc.bottom - rc.top) / 2);
    PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(link, WM_LBUTTONUP, 0, at);
}

TEST(InfoWindowE2E, LinksOpenWhatTheySay) {
    test::UrlRecorder shell({L"https", L"mailto"});
    test::App app;
    HWND info = OpenInfo(app);
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(gui::Click(gui::Control(info, IDC_INFO_DONATE)));
    EXPECT_EQ(shell.Take(), DonationUrl(build::kPaymentHost, build::kReceivingAddress));
    ClickLink(gui::Control(info, IDC_INFO_WEBSITE));
    EXPECT_EQ(shell.Take(), WebsiteUrl(build::kWebsite));
    // The fixed address, whatever the label shows.
    SendMessageW(gui::Control(info, IDC_INFO_EMAIL), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"<a>someone@else.example</a>"));
    ClickLink(gui::Control(info, IDC_INFO_EMAIL));
    EXPECT_EQ(shell.Take(), std::wstring(L"mailto:") + build::kSupportAddress);
    gui::Close(info);
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(info); }));
    EXPECT_EQ(app.Close(), 0);
}

TEST(InfoLinks, DonationAddressIsExactlyEncoded) {
    struct Case {
        const wchar_t *host, *address, *business;
    };
    const Case cases[] = {
        {L"pay.example", L"donate@maker.example", L"donate%40maker%2eexample"},
        {L"pay.example", L"a+b c&d=é~_-@x.example", L"a%2bb%20c%26d%3d%c3%a9~_-%40x%2eexample"},
        {L"pay.example", L"\U0001F600@x", L"%f0%9f%98%80%40x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            DonationUrl(c.host, c.address),
            std::wstring(L"https://pay.example/cgi-bin/webscr?cmd=_xclick&business=") + c.business +
                L"&no_shipping=1&no_note=1&tax=0&currency_code=EUR&bn=PP%2dDonationsBF&charset=UTF%2d8");
    EXPECT_EQ(WebsiteUrl(L"www.maker.example"), L"https://www.maker.example");
    EXPECT_EQ(WebsiteUrl(L"http://test.example/x"), L"http://test.example/x");
    EXPECT_EQ(MailUrl(L"s@m.example"), L"mailto:s@m.example");
}

} // namespace
} // namespace velmora::info
