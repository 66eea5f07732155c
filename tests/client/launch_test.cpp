// The launcher against the stand-in client: what the client sees when it starts, how it was
// started, and where the Enter of direct login goes.
#include "client/client_fixture.h"

#include "client/status.h"

#include <chrono>

using namespace velmora;
using namespace velmora::test;
using Clock = std::chrono::steady_clock;

namespace {

long long Ms(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

class LaunchTest : public ClientTest {
protected:
    // Starts as that user with that status and message; returns how long the start took in ms.
    long long Start(const std::wstring& path, bool direct, int32_t status = status::kOnline,
                    const std::wstring& message = L"") {
        starter_.SetUser(L"5550001");
        starter_.SetStatus(status);
        starter_.SetStatusText(message);
        auto before = Clock::now();
        starter_.StartICQ(path, direct);
        return Ms(Clock::now() - before);
    }
};

} // namespace

// The path is the whole command line, quoted, and nothing in it is read by a shell.
TEST_F(LaunchTest, ClientStartsMinimizedUnactivatedAndSeesTheChoice) {
    std::wstring dir = FreshTempDir(L"launch") + L"\\a&b (x86) ;%PATH%^ two  spaces,comma";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring exe = dir + L"\\ICQ Lite.exe";
    ASSERT_TRUE(CopyFileW(StandinClient::ExePath().c_str(), exe.c_str(), FALSE));
    StandinClient standin(L"away");
    const std::wstring message = L"Bin gleich zur\u00fcck\r\n\u00dcbermorgen: 50% \\ mehr";
    Start(exe, false, status::kAway, message);
    ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
    ASSERT_TRUE(standin.CloseWindows());

    Record seen = standin.Read();
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"commandline", L"\"" + exe + L"\""},
        {L"ShowWindow", std::to_wstring(SW_SHOWMINNOACTIVE)},
        {L"LastOwner", L"5550001"},
        {L"LastOwner.type", std::to_wstring(REG_DWORD)},
        {L"LastStatus", L"1"},
        {L"LastStatus.type", std::to_wstring(REG_DWORD)},
        {L"AwayStatusText", message},
        {L"AwayStatusText.type", std::to_wstring(REG_SZ)},
        {L"iconic", L"1"},
        {L"active", L"0"},
        {L"foreground", L"0"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(seen.First(name), value) << Narrow(name) << "; record: " << seen.Raw();
    EXPECT_EQ(seen.Count(L"activated") + seen.Count(L"enter"), 0u) << seen.Raw();
}

// Every status writes "LastStatus" and at most its own message, under the name the client reads;
// the others keep what they held.
TEST_F(LaunchTest, EachStatusWritesOnlyItsOwnMessage) {
    const wchar_t* messageValues[] = {L"AwayStatusText", L"DNDStatusText", L"NAStatusText", L"BusyStatusText",
                                      L"ChatStatusText"};
    struct Case {
        int32_t status;
        const wchar_t* message;
        std::wstring own; // the value the message goes to, "" for none
    } cases[] = {{0, L"not stored", L""},         {1, L"new", L"AwayStatusText"},
                 {1, L"", L"AwayStatusText"},     {2, L"new", L"DNDStatusText"},
                 {4, L"new", L"NAStatusText"},    {16, L"new", L"BusyStatusText"},
                 {32, L"new", L"ChatStatusText"}, {257, L"not stored", L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE("status " + std::to_string(c.status) + " message '" + Narrow(c.message) + "'");
        for (const wchar_t* value : messageValues)
            Put(Place::Machine, value, std::wstring(L"old ") + value, REG_SZ, icqlite::UserKey(L"5550001"));
        StandinClient standin(L"status", {.noWindow = true});
        Start(StandinClient::ExePath(), false, c.status, c.message);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();

        Record seen = standin.Read();
        EXPECT_EQ(seen.First(L"LastStatus"), std::to_wstring(c.status)) << seen.Raw();
        for (const wchar_t* value : messageValues)
            EXPECT_EQ(seen.First(value),
                      value == c.own ? std::wstring(c.message) : std::wstring(L"old ") + value)
                << Narrow(value) << "; record: " << seen.Raw();
    }
}

// The Enter of direct login reaches the client's login window once, after the login pause and
// however the window takes it, and never the program that has the focus; without direct login
// nothing is pressed.
TEST_F(LaunchTest, DirectLoginPressesEnterOnceInTheLoginWindowOnly) {
    struct Case {
        const char* name;
        bool direct;
        StandinOptions options;
        size_t enters, keyMessages; // Enter as a key only where the window has no default button
    } cases[] = {
        {"dialog", true, {}, 1, 0},
        {"default button", true, {.windowKind = L"button"}, 1, 0},
        {"keys", true, {.windowKind = L"keys"}, 1, 1},
        {"window after 2 s", true, {.windowDelayMs = 2000}, 1, 0},
        {"no direct login", false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandinClient standin(L"direct", c.options);
        FocusBystander bystander(L"direct");
        ASSERT_TRUE(bystander.Ready());
        long long took = Start(StandinClient::ExePath(), c.direct);
        EXPECT_GE(took, c.direct ? 700 : 0) << "returned before the login pause";
        ASSERT_TRUE(standin.WaitForLine(c.enters ? L"enter" : L"window")) << standin.Read().Raw();
        ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
        // The client first: closing the bystander would hand the activation on to the client.
        ASSERT_TRUE(standin.CloseWindows());
        ASSERT_TRUE(bystander.Close());
        Record byst = bystander.Read(), seen = standin.Read();
        for (const wchar_t* event : {L"keydown", L"keyup", L"char", L"deactivated", L"killfocus"})
            EXPECT_EQ(byst.Count(event), 0u) << Narrow(event) << " reached the bystander: " << byst.Raw();
        EXPECT_EQ(seen.Count(L"enter"), c.enters) << seen.Raw();
        if (c.enters)
            EXPECT_GE(seen.Number(L"enter").value_or(0), std::max(700LL, seen.Number(L"window").value_or(0)))
                << "pressed too early: " << seen.Raw();
        EXPECT_EQ(seen.Count(L"keydown"), c.keyMessages) << seen.Raw();
        EXPECT_EQ(seen.Count(L"char"), c.keyMessages) << seen.Raw();
        EXPECT_EQ(seen.Count(L"activated"), 0u) << seen.Raw();
    }
}

// Without a window in time nothing is sent, and the start neither hangs nor waits longer than needed.
TEST_F(LaunchTest, ClientWithoutWindowGetsNothingAndTheStartCompletes) {
    const long long wait = std::chrono::milliseconds(Starter::kWindowWait).count();
    struct Case {
        const char* name;
        StandinOptions options;
        long long minMs, maxMs;
    } cases[] = {
        {"never a window", {.noWindow = true}, wait - 100, wait + 1500},
        {"exits at once with code 0", {.noWindow = true, .lifetimeMs = 200}, 0, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandinClient standin(L"nowindow", c.options);
        long long took = Start(StandinClient::ExePath(), true);
        EXPECT_GE(took, c.minMs);
        EXPECT_LE(took, c.maxMs);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();
        EXPECT_EQ(standin.Read().Count(L"keydown"), 0u) << standin.Read().Raw();
    }
}
