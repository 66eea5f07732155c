// The launcher against the stand-in client: what the client sees when it starts, how it was
// started, and where the Enter of direct login goes.
#include "client/client_fixture.h"

#include "client/status.h"

#include <chrono>

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

long long Ms(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

// Nothing reached the bystander: no key, no character, and it never lost the focus.
void ExpectUntouched(FocusBystander& bystander) {
    ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
    ASSERT_TRUE(bystander.Close());
    Record seen = bystander.Read();
    for (const wchar_t* event : {L"keydown", L"keyup", L"char", L"deactivated", L"killfocus"})
        EXPECT_EQ(seen.Count(event), 0u) << Narrow(event) << " reached the bystander: " << seen.Raw();
}

} // namespace

class LaunchTest : public ClientTest {
protected:
    void Choose(const std::wstring& number, int32_t status, const std::wstring& message) {
        starter_.SetUser(number);
        starter_.SetStatus(status);
        starter_.SetStatusText(message);
    }
};

TEST_F(LaunchTest, ClientStartsMinimizedUnactivatedAndSeesTheChoice) {
    StandinClient standin(L"away");
    const std::wstring message = L"Bin gleich zur\u00fcck\r\n\u00dcbermorgen: 50% \\ mehr";
    Choose(L"123456789", status::kAway, message);
    starter_.StartICQ(StandinClient::ExePath(), false);
    ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
    ASSERT_TRUE(standin.CloseWindows());

    Record seen = standin.Read();
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"commandline", L"\"" + StandinClient::ExePath() + L"\""},
        {L"ShowWindow", std::to_wstring(SW_SHOWMINNOACTIVE)},
        {L"LastOwner", L"123456789"},
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
    EXPECT_EQ(seen.Count(L"activated"), 0u) << seen.Raw();
    EXPECT_EQ(seen.Count(L"enter"), 0u) << seen.Raw();
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
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("status " + std::to_string(c.status) + " message '" + Narrow(c.message) + "'");
        userKeys_.Clear();
        machineKeys_.Clear();
        for (const wchar_t* value : messageValues)
            StoreClientValue(value, std::wstring(L"old ") + value, REG_SZ, L"5550001");
        StandinClient standin(L"status" + std::to_wstring(index++), {.noWindow = true});
        Choose(L"5550001", c.status, c.message);
        starter_.StartICQ(StandinClient::ExePath(), false);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();

        Record seen = standin.Read();
        EXPECT_EQ(seen.First(L"LastStatus"), std::to_wstring(c.status)) << seen.Raw();
        for (const wchar_t* value : messageValues)
            EXPECT_EQ(seen.First(value),
                      value == c.own ? std::wstring(c.message) : std::wstring(L"old ") + value)
                << Narrow(value) << "; record: " << seen.Raw();
    }
}

// The Enter of direct login reaches the client's login window once, however the window takes it,
// and never the program that has the focus.
TEST_F(LaunchTest, DirectLoginPressesEnterOnceInTheLoginWindowOnly) {
    struct Case {
        const wchar_t* kind;
        size_t keyMessages; // Enter as a key only where the window has no default button
    } cases[] = {{L"", 0}, {L"button", 0}, {L"keys", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("window kind '") + Narrow(c.kind) + "'");
        StandinClient standin(std::wstring(L"direct-") + c.kind, {.windowKind = c.kind});
        FocusBystander bystander(std::wstring(L"direct-") + c.kind);
        ASSERT_TRUE(bystander.Ready());
        Choose(L"777", status::kOnline, L"");
        auto before = Clock::now();
        starter_.StartICQ(StandinClient::ExePath(), true);
        auto took = Clock::now() - before;
        EXPECT_GE(Ms(took), 700) << "returned before the login pause";

        ASSERT_TRUE(standin.WaitForLine(L"enter")) << standin.Read().Raw();
        ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
        // The client first: closing the bystander would hand the activation on to the client.
        ASSERT_TRUE(standin.CloseWindows());
        ExpectUntouched(bystander);
        Record seen = standin.Read();
        EXPECT_EQ(seen.Count(L"enter"), 1u) << seen.Raw();
        EXPECT_GE(seen.Number(L"enter").value_or(0), 700) << "pressed too early: " << seen.Raw();
        EXPECT_EQ(seen.Count(L"keydown"), c.keyMessages) << seen.Raw();
        EXPECT_EQ(seen.Count(L"char"), c.keyMessages) << seen.Raw();
        EXPECT_EQ(seen.Count(L"activated"), 0u) << seen.Raw();
    }
}

TEST_F(LaunchTest, WithoutDirectLoginNothingIsPressedAndTheFocusStays) {
    StandinClient standin(L"nodirect");
    FocusBystander bystander(L"nodirect");
    ASSERT_TRUE(bystander.Ready());
    Choose(L"777", status::kOnline, L"");
    starter_.StartICQ(StandinClient::ExePath(), false);
    ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
    ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
    ASSERT_TRUE(standin.CloseWindows());
    ExpectUntouched(bystander);
    Record seen = standin.Read();
    for (const wchar_t* event : {L"enter", L"keydown", L"char", L"activated"})
        EXPECT_EQ(seen.Count(event), 0u) << Narrow(event) << ": " << seen.Raw();
}

TEST_F(LaunchTest, LateWindowStillGetsItsEnter) {
    StandinClient standin(L"late", {.windowDelayMs = 2000});
    Choose(L"777", status::kOnline, L"");
    starter_.StartICQ(StandinClient::ExePath(), true);
    ASSERT_TRUE(standin.WaitForLine(L"enter")) << standin.Read().Raw();
    ASSERT_TRUE(standin.CloseWindows());
    Record seen = standin.Read();
    EXPECT_EQ(seen.Count(L"enter"), 1u) << seen.Raw();
    EXPECT_GE(seen.Number(L"enter").value_or(0), seen.Number(L"window").value_or(2000)) << seen.Raw();
}

// Without a window in time nothing is sent, and the start neither hangs nor waits longer than needed.
TEST_F(LaunchTest, ClientWithoutWindowGetsNothingAndTheStartCompletes) {
    struct Case {
        const char* name;
        StandinOptions options;
        long long minMs, maxMs;
    } cases[] = {
        {"never a window",
         {.noWindow = true},
         Ms(Starter::kWindowWait) - 100,
         Ms(Starter::kWindowWait) + 1500},
        {"exits at once", {.noWindow = true, .lifetimeMs = 200}, 0, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandinClient standin(L"nowindow", c.options);
        Choose(L"777", status::kOnline, L"");
        auto before = Clock::now();
        starter_.StartICQ(StandinClient::ExePath(), true);
        long long took = Ms(Clock::now() - before);
        EXPECT_GE(took, c.minMs);
        EXPECT_LE(took, c.maxMs);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();
        EXPECT_EQ(standin.Read().Count(L"keydown"), 0u) << standin.Read().Raw();
    }
}

// The path is the whole command line, quoted, and nothing in it is read by a shell.
TEST_F(LaunchTest, ClientPathIsStartedAsItIs) {
    const wchar_t* folders[] = {L"plain", L"ICQ Lite", L"a&b (x86) ;%PATH%^", L"two  spaces,comma"};
    int index = 0;
    for (const wchar_t* folder : folders) {
        SCOPED_TRACE(Narrow(folder));
        std::wstring dir = FreshTempDir(L"path" + std::to_wstring(index)) + L"\\" + folder;
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
        std::wstring exe = dir + L"\\ICQ Lite.exe";
        ASSERT_TRUE(CopyFileW(StandinClient::ExePath().c_str(), exe.c_str(), FALSE));
        StandinClient standin(L"path" + std::to_wstring(index++), {.noWindow = true});
        Choose(L"777", status::kOnline, L"");
        starter_.StartICQ(exe, false);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();
        EXPECT_EQ(standin.Read().First(L"commandline"), L"\"" + exe + L"\"") << standin.Read().Raw();
        standin.EndAll();
    }
}
