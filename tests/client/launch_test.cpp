// The launcher against the stand-in client: what the client sees when it starts, how it was
// started, and where the Enter of direct login goes.
#include "client/client_fixture.h"

#include "errors/err_test_support.h"
#include "errors/trap.h"

#include <algorithm>
#include <chrono>
#include <cstring>

using namespace velmora;
using namespace velmora::test;

namespace {

class LaunchTest : public ClientTest {
protected:
    // Starts as 5550001 with that status and message; returns how long the start took in ms.
    long long Start(const std::wstring& path, bool direct, int32_t status = 0,
                    const std::wstring& message = L"") {
        starter_.SetUser(L"5550001");
        starter_.SetStatus(status);
        starter_.SetStatusText(message);
        auto before = std::chrono::steady_clock::now();
        starter_.StartICQ(path, direct);
        auto took = std::chrono::steady_clock::now() - before;
        return std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
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
    Put(Place::Machine, L"DNDStatusText", L"old", REG_SZ, icqlite::UserKey(L"5550001"));
    const std::wstring message = L"Bin gleich zur\u00fcck\r\n\u00dcbermorgen: 50% \\ mehr";
    Start(exe, false, 1, message);
    ASSERT_TRUE(standin.WaitForLine(L"window")) << standin.Read().Raw();
    ASSERT_TRUE(standin.CloseWindows());

    Record seen = standin.Read();
    const std::wstring sz = std::to_wstring(REG_SZ), dword = std::to_wstring(REG_DWORD);
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        // clang-format off
        {L"commandline", L"\"" + exe + L"\""}, {L"ShowWindow", std::to_wstring(SW_SHOWMINNOACTIVE)},
        {L"LastOwner", L"5550001"}, {L"LastOwner.type", dword}, {L"LastStatus", L"1"}, {L"LastStatus.type", dword},
        {L"AwayStatusText", message}, {L"AwayStatusText.type", sz}, {L"DNDStatusText", L"old"},
        {L"iconic", L"1"}, {L"active", L"0"}, {L"foreground", L"0"}};
    // clang-format on
    for (const auto& [name, value] : expected)
        EXPECT_EQ(seen.First(name), value) << Narrow(name) << "; record: " << seen.Raw();
    EXPECT_EQ(seen.Count(L"activated") + seen.Count(L"enter"), 0u) << seen.Raw();
}

// Only the chosen status's own message is written (above: the others stay), an empty one too; Online
// and Invisible have none and write none.
TEST_F(LaunchTest, OnlyTheStatusOwnMessageIsWritten) {
    const std::wstring values[] = {L"AwayStatusText", L"DNDStatusText", L"NAStatusText", L"BusyStatusText",
                                   L"ChatStatusText"};
    const std::tuple<int32_t, const wchar_t*, std::wstring> cases[] = {
        {0, L"x", L""}, {257, L"x", L""}, {1, L"", L"AwayStatusText"}};
    for (const auto& [status, message, own] : cases) {
        SCOPED_TRACE(status);
        for (const std::wstring& value : values)
            Put(Place::Machine, value, L"old", REG_SZ, icqlite::UserKey(L"5550001"));
        StandinClient standin(L"status", {.noWindow = true});
        Start(StandinClient::ExePath(), false, status, message);
        ASSERT_TRUE(standin.WaitForLine(L"recorded")) << standin.Read().Raw();
        Record seen = standin.Read();
        EXPECT_EQ(seen.First(L"LastStatus"), std::to_wstring(status)) << seen.Raw();
        for (const std::wstring& value : values)
            EXPECT_EQ(seen.First(value), value == own ? message : L"old")
                << Narrow(value) << ": " << seen.Raw();
    }
}

// A user's stored message for a status: its own value only, where the client reads it; none for a
// status without a message, a list, or another user. Dashes in the number do not count.
TEST_F(LaunchTest, GetStatusTextReadsTheUsersOwnMessage) {
    const std::wstring user = icqlite::UserKey(L"123456");
    // With the key's default value and "StatusText": what a status without a message might read.
    for (const wchar_t* value : {L"AwayStatusText", L"DNDStatusText", L"BusyStatusText", L"", L"StatusText"})
        Put(Place::Machine, value, value, REG_SZ, user);
    Put(Place::Machine, L"ChatStatusText", L"machine copy", REG_SZ, user);
    Put(Place::Store, L"ChatStatusText", L"from the store", REG_SZ, user);
    Put(Place::Machine, L"NAStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ, user);
    // clang-format off
    const std::pair<int32_t, const wchar_t*> cases[] = {{1, L"AwayStatusText"}, {2, L"DNDStatusText"}, {4, L""},
        {16, L"BusyStatusText"}, {32, L"from the store"}, {0, L""}, {257, L""}, {256, L""}, {-1, L""}};
    // clang-format on
    for (auto [status, expected] : cases) {
        RegData got = starter_.GetStatusText(L"12-34-56", status);
        EXPECT_EQ(got.AsText(), expected) << "status " << status;
        EXPECT_EQ(got.IsEmpty(), *expected == 0) << "status " << status;
    }
    EXPECT_TRUE(starter_.GetStatusText(L"654321", 1).IsEmpty()) << "another user's message";
}

// The Enter of direct login reaches the client's login window once, after the login pause and
// however the window takes it, never the program that has the focus. Without direct login or a
// window in time nothing is pressed, and the start neither hangs nor waits longer than needed.
TEST_F(LaunchTest, DirectLoginPressesEnterOnceInTheLoginWindowOnly) {
    const long long wait = Starter::kWindowWait.count(), late = wait + 1500;
    struct Case {
        const char* name;
        bool direct;
        StandinOptions options;
        size_t enters, keys;    // Enter as a key only where the window has no default button
        long long minMs, maxMs; // how long the start takes
    } cases[] = {
        {"dialog", true, {}, 1, 0, 700, late},
        {"default button", true, {.windowKind = L"button"}, 1, 0, 700, late},
        {"keys", true, {.windowKind = L"keys"}, 1, 1, 700, late},
        {"window after 2 s", true, {.windowDelayMs = 2000}, 1, 0, 700, late},
        {"no direct login", false, {}, 0, 0, 0, late},
        {"never a window", true, {.noWindow = true}, 0, 0, wait - 100, late},
        {"exits at once with code 0", true, {.noWindow = true, .lifetimeMs = 200}, 0, 0, 0, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandinClient standin(L"direct", c.options);
        FocusBystander bystander(L"direct");
        ASSERT_TRUE(bystander.Ready());
        long long took = Start(StandinClient::ExePath(), c.direct);
        EXPECT_GE(took, c.minMs);
        EXPECT_LE(took, c.maxMs);
        const wchar_t* done = c.enters ? L"enter" : c.options.noWindow ? L"recorded" : L"window";
        ASSERT_TRUE(standin.WaitForLine(done)) << standin.Read().Raw();
        ASSERT_EQ(GetForegroundWindow(), bystander.Window()) << "the foreground moved";
        // The client first: closing the bystander would hand the activation on to the client.
        ASSERT_TRUE(c.options.noWindow || standin.CloseWindows());
        ASSERT_TRUE(bystander.Close());
        Record seen = standin.Read();
        EXPECT_EQ(bystander.Read().Count(L"input"), 0u)
            << "it reached the bystander: " << bystander.Read().Raw();
        EXPECT_EQ(std::tuple(seen.Count(L"enter"), seen.Count(L"keydown"), seen.Count(L"char"),
                             seen.Count(L"activated")),
                  std::tuple(c.enters, c.keys, c.keys, size_t{0}))
            << "enter, keydown, char, activated in " << seen.Raw();
        EXPECT_GE(seen.Number(L"enter").value_or(0),
                  c.enters ? std::max(700LL, seen.Number(L"window").value_or(0)) : 0)
            << "pressed too early: " << seen.Raw();
    }
}

// Before anything is written, the path must name a program and the client must not run already
// (unless it may run twice). The values must land where the client reads them (the virtual store
// where HKLM refuses, as for a user without elevation), else the start stops with a message that
// says which value, where and why. A client that ends at once with a failure is told.
TEST_F(LaunchTest, StartChecksTheClientAndWhereItsValuesLand) {
    const std::wstring dir = FreshTempDir(L"start-checks"), standin = StandinClient::ExePath();
    const std::wstring user = icqlite::UserKey(L"5550001");
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\ICQLite.exe").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\copy").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(standin.c_str(), (dir + L"\\copy\\standin_client.exe").c_str(), FALSE));
    WriteBytes(dir + L"\\text.exe", "plain text, no program");
    std::wstring upper = standin;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const std::wstring path = L"CheckPath(strPath=", notSaved = L"could not be saved", denied = L"(5)";
    struct Case {
        const char* name;
        std::wstring path;
        char running;         // a client already running: '-' none, 's' from that path, 'c' a copy elsewhere
        bool multiInstance;   // "MultiInstance" is "Yes"
        unsigned exitCode;    // the client started ends at once with it (direct login waits for that)
        const char* readOnly; // keys: 'o' the owners key, 'm' the user's key in HKLM, 's' in the store
        int32_t shown;        // error number of the report or message; 0: none
        std::vector<std::wstring> parts; // in the report or message; a message ends with the last
        bool owner, started; // "LastOwner" written; the client started, the message where it reads it
    } cases[] = {
        // clang-format off
        {"no file", dir + L"\\ICQLite2.exe", '-', false, 0, "", 53, {path}, false, false},
        {"a folder", dir + L"\\ICQLite.exe", '-', false, 0, "", 53, {path}, false, false},
        {"not a program", dir + L"\\text.exe", '-', false, 0, "", 5, {path}, false, false},
        {"2,000 characters", dir + L"\\" + std::wstring(2000, L'a') + L".exe", '-', false, 0, "", 53, {path}, false, false},
        {"100,000 characters", L"C:\\" + std::wstring(100000, L'a'), '-', false, 0, "", 53, {path}, false, false},
        {"running (path in other case)", upper, 's', false, 0, "", ERR_CLIENT_ALREADY_RUNNING,
         {L"ICQ Lite is already running. Please close it first, then start it again here."}, false, false},
        {"running, may run twice", upper, 's', true, 0, "", 0, {}, true, true},
        {"a copy elsewhere runs", standin, 'c', false, 0, "", 0, {}, true, true},
        {"ends at once, exit code 3", standin, '-', false, 3, "", ERR_CLIENT_ENDED_AT_START,
         {L"ICQ Lite ended right after it was started\r\n\r\nExit code: 3"}, true, true},
        {"ends at once, a system's code", standin, '-', false, 0xC0000135, "", ERR_CLIENT_ENDED_AT_START,
         {L"\r\n\r\nExit code: 3221225781 (0xC0000135)"}, true, true},
        {"HKLM refuses", standin, '-', false, 0, "m", 0, {}, true, true},
        {"owners key refuses", standin, '-', false, 0, "o", ERR_CLIENT_VALUE_NOT_WRITTEN,
         {notSaved, L"LastOwner", L"HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners", denied}, false, false},
        {"HKLM and the store refuse", standin, '-', false, 0, "ms", ERR_CLIENT_VALUE_NOT_WRITTEN,
         {notSaved, L"LastStatus", L"HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\NewOwners\\5550001\\ICQLite", denied},
         true, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        userKeys_.Clear();
        machineKeys_.Clear();
        storeKeys_.Clear();
        RecordUsers({{L"44556677", 0}}, L"44556677");
        if (c.multiInstance)
            Put(Place::Machine, L"MultiInstance", L"Yes", REG_SZ, icqlite::kDefaultPrefsKey);
        StandinClient before(L"before", {.noWindow = true});
        ChildProcess running;
        if (c.running != '-') {
            running = ChildProcess::Start(c.running == 's' ? standin : dir + L"\\copy\\standin_client.exe");
            ASSERT_TRUE(before.WaitForLine(L"recorded"));
        }
        StandinClient started(
            L"started", {.noWindow = true, .lifetimeMs = c.exitCode ? 200u : 30000u, .exitCode = c.exitCode});
        std::optional<ReadOnlyKey> owners;
        std::optional<ReadOnlyPlace> machine, store;
        if (strchr(c.readOnly, 'o'))
            owners.emplace(HKEY_CURRENT_USER, icqlite::kOwnersKey);
        if (strchr(c.readOnly, 'm'))
            machine.emplace(Place::Machine, user);
        if (strchr(c.readOnly, 's'))
            store.emplace(Place::Store, user);

        CapturingPresenter shown;
        err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(),
                       [&] { Start(c.path, c.exitCode != 0, 1, L"new"); });
        EXPECT_EQ(shown.numbers, c.shown ? std::vector<int32_t>{c.shown} : std::vector<int32_t>{});
        std::wstring text = !shown.messages.empty()  ? shown.messages[0]
                            : !shown.reports.empty() ? shown.reports[0]
                                                     : L"";
        EXPECT_TRUE(shown.messages.empty() || c.parts.empty() || text.ends_with(c.parts.back()))
            << Narrow(text);
        for (const std::wstring& part : c.parts)
            EXPECT_NE(text.find(part), std::wstring::npos) << Narrow(part) << " not in:\n"
                                                           << Narrow(text.substr(0, 2000));
        if (c.started)
            EXPECT_TRUE(started.WaitForLine(L"recorded")) << "the client was not started";
        else
            EXPECT_EQ(CountProcesses(L"standin_client.exe"), c.running == '-' ? 0u : 1u)
                << "a client was started";
        EXPECT_EQ(icqlite::LastUser(), c.owner ? L"5550001" : L"44556677");
        EXPECT_EQ(icqlite::ReadMachineValue(L"AwayStatusText", user).AsText(), c.started ? L"new" : L"");
    }
}
