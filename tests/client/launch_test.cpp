// The launcher against the stand-in client: what the client sees when it starts, how it was
// started, and where the Enter of direct login goes.
#include "client/client_fixture.h"

#include "errors/err_test_support.h"
#include "errors/trap.h"

#include <chrono>
#include <cstring>

using namespace velmora;
using namespace velmora::test;

namespace {

class LaunchTest : public ClientTest {
protected:
    // Starts as 5550001 with that status and message; returns how long the start took in ms.
    long long Start(const std::wstring& path, bool direct, int status = 0, const std::wstring& text = L"",
                    const ClientWait& wait = Starter::WaitWithoutWindows) {
        starter_.SetUser(L"5550001");
        starter_.SetStatus(status);
        starter_.SetStatusText(text);
        auto before = std::chrono::steady_clock::now();
        outcome_ = starter_.StartICQ(path, direct, wait);
        auto took = std::chrono::steady_clock::now() - before;
        return std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    }
    LoginOutcome outcome_ = LoginOutcome::NotAsked;
    const std::wstring user_ = icqlite::UserKey(L"5550001");
};

} // namespace

// The path is the whole command line, quoted, and nothing in it is read by a shell. Only the chosen
// status's own message is written, an empty one too; Online and Invisible have none and write none.
TEST_F(LaunchTest, ClientStartsMinimizedUnactivatedAndSeesTheChoice) {
    std::wstring dir = FreshTempDir(L"launch") + L"\\a&b (x86) ;%PATH%^ two  spaces,comma";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring exe = dir + L"\\ICQ Lite.exe";
    ASSERT_TRUE(CopyFileW(StandinClient::ExePath().c_str(), exe.c_str(), FALSE));
    const std::wstring message = L"Bin gleich zur\u00fcck\r\n\u00dcbermorgen: 50% \\ mehr";
    const std::wstring values[] = {L"AwayStatusText", L"DNDStatusText", L"NAStatusText", L"BusyStatusText",
                                   L"ChatStatusText"};
    // The status and message chosen, and the value that takes the message.
    const std::tuple<int32_t, std::wstring, std::wstring> cases[] = {
        {1, message, L"AwayStatusText"}, {2, L"", L"DNDStatusText"}, {0, L"x", L""}, {257, L"x", L""}};
    for (const auto& [status, text, own] : cases) {
        SCOPED_TRACE(status);
        for (const std::wstring& value : values)
            Put(Place::Machine, value, L"old", REG_SZ, user_);
        StandinClient standin(L"launch");
        Start(exe, false, status, text);
        ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
        ASSERT_TRUE(standin.CloseWindows());
        Record seen = standin.Read();
        // clang-format off
        std::vector<std::pair<std::wstring, std::wstring>> expected = { // REG_DWORD is 4, REG_SZ 1
            {L"commandline", L"\"" + exe + L"\""}, {L"ShowWindow", std::to_wstring(SW_SHOWMINNOACTIVE)},
            {L"iconic", L"1"}, {L"active", L"0"}, {L"foreground", L"0"}, {L"LastOwner", L"5550001"},
            {L"LastOwner.type", L"4"}, {L"LastStatus", std::to_wstring(status)}, {L"LastStatus.type", L"4"}};
        // clang-format on
        for (const std::wstring& value : values)
            expected.emplace_back(value, value == own ? text : L"old");
        if (!own.empty())
            expected.emplace_back(own + L".type", L"1");
        for (const auto& [name, value] : expected)
            EXPECT_EQ(seen.First(name), value) << Narrow(name) << "; record: " << seen.Raw();
        EXPECT_EQ(seen.Count(L"activated") + seen.Count(L"enter"), 0u) << seen.Raw();
    }
}

// The Enter of direct login reaches the client's login window once, after the login pause and
// however the window takes it (also when the window is late: a slow machine, the client's own update
// check), never the program that has the focus. Without direct login, without a window in time or
// when the user gives up the wait, nothing is pressed and the caller learns why; the start neither
// hangs nor waits longer than needed.
TEST_F(LaunchTest, DirectLoginPressesEnterOnceInTheLoginWindowOnly) {
    using enum LoginOutcome;
    const long long late = 1500;
    // Direct login; the client; how long the wait for its window is (ms, 0: the usual); whether the
    // user gives up; the outcome; Enters and Enter keys (a key only where the window has no default
    // button); how long the start takes at least and at most, in ms (0: until the wait is over).
    const std::tuple<const char*, bool, StandinOptions, int, bool, LoginOutcome, size_t, size_t, long long,
                     long long>
        cases[] = {
            {"dialog", true, {}, 0, false, Pressed, 1, 0, 700, late},
            {"default button", true, {.windowKind = L"button"}, 0, false, Pressed, 1, 0, 700, late},
            {"keys", true, {.windowKind = L"keys"}, 0, false, Pressed, 1, 1, 700, late},
            {"window after 8 s", true, {.windowDelayMs = 8000}, 0, false, Pressed, 1, 0, 8000, 8000 + late},
            {"no direct login", false, {}, 0, false, NotAsked, 0, 0, 0, late},
            {"never a window", true, {.noWindow = true}, 2000, false, NoWindow, 0, 0, 2000, 2000 + late},
            {"exits at once with code 0",
             true,
             {.noWindow = true, .lifetimeMs = 200},
             0,
             false,
             NoWindow,
             0,
             0,
             0,
             late},
            {"the user gives up", true, {.windowDelayMs = 2000}, 0, true, Cancelled, 0, 0, 0, late},
        };
    for (const auto& [name, direct, options, waitMs, giveUp, outcome, enters, keys, minMs, maxMs] : cases) {
        SCOPED_TRACE(name);
        StandinClient standin(L"direct", options);
        FocusBystander bystander(L"direct");
        ASSERT_TRUE(bystander.Ready());
        starter_.SetWindowWait(waitMs ? std::chrono::milliseconds(waitMs) : Starter::kWindowWait);
        auto giveUpAtOnce = [](HANDLE, platform::Clock::time_point) { return true; };
        long long took = giveUp ? Start(StandinClient::ExePath(), direct, 0, L"", giveUpAtOnce)
                                : Start(StandinClient::ExePath(), direct);
        EXPECT_EQ(outcome_, outcome);
        EXPECT_TRUE(took >= minMs && took <= maxMs) << "the start took " << took << " ms";
        ASSERT_TRUE(standin.WaitForLine(enters ? L"enter" : options.noWindow ? L"recorded" : L"window"));
        ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
        // The client first: closing the bystander would hand the activation on to the client.
        ASSERT_TRUE(options.noWindow || standin.CloseWindows());
        ASSERT_TRUE(bystander.Close());
        Record seen = standin.Read(), other = bystander.Read();
        EXPECT_EQ(std::tuple(seen.Count(L"enter"), seen.Count(L"keydown"), seen.Count(L"char"),
                             seen.Count(L"activated"), other.Count(L"input")),
                  std::tuple(enters, keys, keys, size_t{0}, size_t{0}))
            << "enter, keydown, char, activated; input at the bystander: " << seen.Raw() << other.Raw();
        EXPECT_GE(seen.Number(L"enter").value_or(0),
                  enters ? std::max(700LL, seen.Number(L"window").value_or(0)) : 0)
            << "pressed too early: " << seen.Raw();
    }
}

// Before anything is written, the path must name a program and the client must not run already
// (unless it may run twice). The values must land where the client reads them (the virtual store
// where HKLM refuses, as for a user without elevation), else the start stops with a message that
// says which value, where and why, and every value is as it was. A client that ends at once with a
// failure is told.
TEST_F(LaunchTest, StartChecksTheClientAndWhereItsValuesLand) {
    const std::wstring dir = FreshTempDir(L"start-checks"), exe = StandinClient::ExePath();
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\ICQLite.exe").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\copy").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(exe.c_str(), (dir + L"\\copy\\standin_client.exe").c_str(), FALSE));
    WriteBytes(dir + L"\\text.exe", "plain text, no program");
    std::wstring upper = exe;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const std::wstring check = L"CheckPath(strPath=", notSaved = L"could not be saved", denied = L"(5)";
    // The path; a client running already ('s' from that path, 'S' and it may run twice, 'c' a copy); the
    // exit code the started client ends with at once (direct login waits for it); the keys: read-only ('o'
    // the owners key, 'm' the user's key in HKLM, 's' in the store), or 'c' a store copy of the message. Then
    // the number of the report or message shown and parts of its text; "LastOwner" written; the client
    // started, with the message it reads.
    // clang-format off
    const std::tuple<const char*, std::wstring, char, unsigned, const char*, int32_t, std::vector<std::wstring>, bool, bool> cases[] = {
        {"no file", dir + L"\\ICQLite2.exe", '-', 0, "", 53, {check}, false, false},
        {"a folder", dir + L"\\ICQLite.exe", '-', 0, "", 53, {check}, false, false},
        {"not a program", dir + L"\\text.exe", '-', 0, "", 5, {check}, false, false},
        {"100,000 characters", L"C:\\" + std::wstring(100000, L'a'), '-', 0, "", 53, {check}, false, false},
        {"running (path in other case)", upper, 's', 0, "", ERR_CLIENT_ALREADY_RUNNING,
         {L"ICQ Lite is already running. Please close it first, then start it again here."}, false, false},
        {"running, may run twice", upper, 'S', 0, "", 0, {}, true, true},
        {"a copy elsewhere runs", exe, 'c', 0, "", 0, {}, true, true},
        {"ends at once, exit code 3", exe, '-', 3, "", ERR_CLIENT_ENDED_AT_START,
         {L"ICQ Lite ended right after it was started\r\n\r\nExit code: 3"}, true, true},
        {"ends at once, a system's code", exe, '-', 0xC0000135, "", ERR_CLIENT_ENDED_AT_START,
         {L"\r\n\r\nExit code: 3221225781 (0xC0000135)"}, true, true},
        {"HKLM refuses", exe, '-', 0, "m", 0, {}, true, true},
        {"a store copy exists", exe, '-', 0, "c", 0, {}, true, true},
        {"owners key refuses", exe, '-', 0, "o", ERR_CLIENT_VALUE_NOT_WRITTEN,
         {notSaved, L"LastOwner", L"HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners", denied}, false, false},
        {"HKLM and the store refuse", exe, '-', 0, "ms", ERR_CLIENT_VALUE_NOT_WRITTEN,
         {notSaved, L"LastStatus", L"HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\NewOwners\\5550001\\ICQLite", denied}, false, false}};
    // clang-format on
    for (const auto& [name, path, running, code, keys, number, parts, owner, started] : cases) {
        SCOPED_TRACE(name);
        for (const ScratchKey* scratch : {&userKeys_, &machineKeys_, &storeKeys_})
            scratch->Clear();
        RecordUsers({{L"44556677", 0}, {L"5550001", 4, {{L"AwayStatusText", L"old"}}}}, L"44556677");
        if (running == 'S')
            Put(Place::Machine, L"MultiInstance", L"Yes", REG_SZ, icqlite::kDefaultPrefsKey);
        StandinClient standin(L"start",
                              {.noWindow = true, .lifetimeMs = code ? 200u : 30000u, .exitCode = code});
        ChildProcess first;
        const size_t already = running == '-' ? 0 : 1; // the client running already records first
        if (already) {
            first = ChildProcess::Start(running == 'c' ? dir + L"\\copy\\standin_client.exe" : exe);
            ASSERT_TRUE(standin.WaitForLine(L"recorded"));
        }
        std::optional<ReadOnlyKey> owners, machine, store;
        if (strchr(keys, 'o'))
            owners.emplace(HKEY_CURRENT_USER, icqlite::kOwnersKey);
        if (strchr(keys, 'm'))
            Lock(machine, Place::Machine, user_);
        if (strchr(keys, 's'))
            Lock(store, Place::Store, user_);
        if (strchr(keys, 'c'))
            Put(Place::Store, L"AwayStatusText", L"old", REG_SZ, user_);
        CapturingPresenter shown;
        err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] { Start(path, code != 0, 1, L"new"); });
        EXPECT_EQ(shown.numbers, number ? std::vector<int32_t>{number} : std::vector<int32_t>{});
        std::wstring text = shown.messages.empty() ? L"" : shown.messages[0];
        text += shown.reports.empty() ? L"" : shown.reports[0];
        for (const std::wstring& part : parts)
            EXPECT_NE(text.find(part), text.npos)
                << Narrow(part) << " not in " << Narrow(text.substr(0, 2000));
        if (started)
            EXPECT_TRUE(standin.WaitForLine(L"recorded", already + 1)) << "the client was not started";
        else
            EXPECT_EQ(CountProcesses(L"standin_client.exe"), already) << "a client was started";
        // A start that is refused leaves every value as it was, those written before the refusal too.
        EXPECT_EQ(icqlite::LastUser(), owner ? L"5550001" : L"44556677");
        EXPECT_EQ(icqlite::GetLastStatus(L"5550001"), started ? 1 : 4);
        EXPECT_EQ(icqlite::ReadMachineValue(L"AwayStatusText", user_).AsText(), started ? L"new" : L"old");
        if (strchr(keys, 'c'))
            EXPECT_EQ(Get(Place::Machine, L"AwayStatusText", user_).AsText(), L"new") << "HKLM not updated";
    }
}
