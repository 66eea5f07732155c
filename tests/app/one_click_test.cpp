// Starts without the window: velmora.exe given a command line (as a shortcut or a jump-list task runs
// it), and the desktop shortcut the window makes of its current choice, run as the shell runs it.
#include "app/command_line.h"
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "platform/arguments.h"
#include "platform/shell_link.h"
#include "support/app.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using test::Narrow;

// Runs velmora.exe with arguments until it ends, answering (OK) the message it shows. A main window
// must never appear meanwhile.
struct Ran {
    int exitCode = -1;
    std::wstring message;
};
Ran RunWith(const std::wstring& arguments) {
    test::ChildProcess program = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe", arguments);
    Ran ran;
    bool window = false;
    EXPECT_TRUE(test::WaitFor(
        [&] {
            window = window || gui::FindTopWindow(program.Id(), app::kMainWindowClass, nullptr);
            if (auto box = gui::FindMessageBox(program.Id()); box && ran.message.empty()) {
                ran.message = box->text;
                gui::AnswerMessageBox(box->hwnd, IDOK);
            }
            return !program.Running();
        },
        30s))
        << "still running: " << Narrow(arguments);
    EXPECT_FALSE(window) << "the main window showed for " << Narrow(arguments);
    ran.exitCode = program.Wait(0ms);
    return ran;
}

// Every kind of line against the client's real keys: what starts (exit code 0, the client sees the
// choice, the choice heads the recent list), what is refused as the window would refuse it (1), and
// what is no command line of Velmora's (2, named with the usage). Nothing is written or started but
// for a start.
TEST(OneClickE2E, TheCommandLineStartsWhatItSaysOrNothing) {
    const std::wstring said = L"Say \"hi\" at C:\\dir\\"; // quotes and a trailing backslash
    // The arguments; exit code; how the message starts ("": none); what the client sees: user, status,
    // its Away message, whether Enter was pressed (-1: not started).
    const std::tuple<std::wstring, int, std::wstring, long long, long long, std::wstring, int> cases[] = {
        {L"/user:12-34-56 /status:away " + platform::QuoteArgument(L"/message:" + said) + L" /direct", 0, L"",
         123456, 1, said, 1},
        {L"-USER:4711 /Manual", 0, L"", 4711, 1, L"stored", 0},         // its last status
        {L"/user:999 /status:16", 0, L"", 999, 16, L"<missing>", 0},    // the setting: manual
        {L"/user:12a", 1, L"The ICQ number is invalid", 0, 0, L"", -1}, // refused as typed
        {L"/user:777 /status:online", 1, L"Sorry, if your last status is invisible", 0, 0, L"", -1},
        {L"/user:4711 /bogus", 2, L"Unknown switch: /bogus\r\n", 0, 0, L"", -1},
        {L"/user:999 /message:x", 2, L"This status has no message: /message:x\r\n", 0, 0, L"", -1},
        {L"/status:away", 2, L"This switch needs /user: /status:away\r\n", 0, 0, L"", -1},
        {L"-h", 0, L"velmora.exe /user:NUMBER [/status:STATUS]", 0, 0, L"", -1},
    };
    for (const auto& [arguments, exitCode, message, owner, code, away, enter] : cases) {
        SCOPED_TRACE(Narrow(arguments));
        test::App app;
        app.SetSetting(L"DirectLogin", L"0");
        test::RecordUsers({{L"4711", 1, {{L"AwayStatusText", L"stored"}}}, {L"777", 257}}, L"4711");
        test::StandinClient standin(L"CommandLine");
        Ran ran = RunWith(arguments);
        EXPECT_EQ(ran.exitCode, exitCode);
        EXPECT_TRUE(ran.message.starts_with(message)) << Narrow(ran.message);
        if (enter < 0) {
            EXPECT_EQ(test::Record::Load(standin.RecordPath()).Raw(), "") << "the client was started";
            EXPECT_EQ(icqlite::LastUser() + app.Setting(L"Recent1"), L"4711") << "something was written";
            continue;
        }
        ASSERT_TRUE(standin.WaitForLine(L"window") && standin.CloseWindows());
        test::Record seen = standin.Read();
        EXPECT_EQ(std::tuple(seen.Number(L"LastOwner"), seen.Number(L"LastStatus"),
                             seen.First(L"AwayStatusText"), seen.Count(L"enter")),
                  std::tuple(owner, code, std::optional(away), size_t(enter)))
            << seen.Raw();
        EXPECT_TRUE(app.Setting(L"Recent1").starts_with(L"/user:" + std::to_wstring(owner) + L" "));
    }
}

// The start button's menu (its arrow, or Alt+Down) makes a desktop shortcut of the choice on the
// screen, confirmed in a balloon; the shortcut, run as the shell runs it, starts exactly that, also
// while the window is open. A message too long for a shortcut is refused, not cut.
TEST(OneClickE2E, TheWindowMakesADesktopShortcutOfItsChoice) {
    test::App app;
    test::RecordUsers({{L"4711", 0}}, L"4711");
    const std::wstring said = L"Back at 5 \"sharp\"\\",
                       path = platform::DesktopShortcutPath(L"ICQ Lite 4711 (Away)");
    DeleteFileW(path.c_str());
    ASSERT_NE(app.Start(), nullptr);
    PostMessageW(app.Item(app::IDC_CBTN_START), WM_SYSKEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(test::WaitFor([&] { return gui::FindTopWindow(app.Pid(), L"#32768", nullptr) != nullptr; }))
        << "Alt+Down opened no menu";
    PostMessageW(app.Main(), WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(gui::ComboSelect(app.Item(app::IDC_IMGCOMB_STATUS), 1));
    for (const std::wstring& message : {std::wstring(1100, L'x'), said}) {
        // (After the refusal's message box, once the window takes input again.)
        ASSERT_TRUE(test::WaitFor([&] { return gui::SetText(app.Item(app::IDC_TXT_STATUS_TEXT), message); }));
        PostMessageW(app.Main(), WM_COMMAND, app::IDM_CREATE_SHORTCUT, 0);
        if (message.size() > 1000) {
            auto box = app.Message();
            ASSERT_TRUE(box && box->text == L"The message is too long for a shortcut.");
            gui::AnswerMessageBox(box->hwnd, IDOK);
        }
    }
    EXPECT_TRUE(test::WaitFor([&] {
        for (HWND tip : gui::TopWindows(app.Pid(), L"tooltips_class32"))
            if (IsWindowVisible(tip) && gui::Text(tip) == L"The shortcut was created on your desktop.")
                return true;
        return false;
    })) << "no confirmation";
    // The shortcut runs as the shell runs it, beside the open window.
    const std::wstring exe = test::BinDir() + L"\\velmora.exe", link = test::LoadedLink(path);
    const std::wstring arguments =
        link.substr(exe.size() + 1, link.find(L'|', exe.size() + 1) - exe.size() - 1);
    EXPECT_EQ(link, exe + L"|" + arguments + L"|" + test::BinDir() + L"|" + exe +
                        L",0|ICQ Lite 4711 (Away): " + said);
    test::StandinClient standin(L"Shortcut");
    EXPECT_EQ(RunWith(arguments).exitCode, 0);
    ASSERT_TRUE(standin.WaitForLine(L"window") && standin.CloseWindows());
    EXPECT_EQ(standin.Read().First(L"AwayStatusText"), said) << standin.Read().Raw();
    EXPECT_EQ(app.Close(), 0) << "the window did not stay";
    DeleteFileW(path.c_str());
}

} // namespace
} // namespace velmora
