#include "client/client_fixture.h"

#include "errors/err_test_support.h"
#include "errors/trap.h"

using namespace velmora;
using namespace velmora::test;

using StarterTest = ClientTest;

TEST_F(StarterTest, GetStatusTextReadsTheUsersMessageWithoutDashes) {
    const std::wstring user = icqlite::UserKey(L"123456");
    Put(Place::Machine, L"AwayStatusText", L"back at five", REG_SZ, user);
    Put(Place::Machine, L"ChatStatusText", L"machine copy", REG_SZ, user);
    Put(Place::Store, L"ChatStatusText", L"talk to me", REG_SZ, user);
    Put(Place::Machine, L"NAStatusText", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ, user);
    // Were anything read for a status without message, it would be one of these: the key's default
    // value or a value named just "StatusText".
    Put(Place::Machine, L"", L"default value", REG_SZ, user);
    Put(Place::Machine, L"StatusText", L"nameless message", REG_SZ, user);
    struct Case {
        const wchar_t* number;
        int32_t status;
        const wchar_t* expected;
    } cases[] = {{L"123-456", 1, L"back at five"},
                 {L"12-34-56", 32, L"talk to me"},
                 {L"123456", 2, L""} /* stored nowhere */,
                 {L"123456", 4, L""} /* a list */,
                 {L"654321", 1, L""} /* another user */,
                 {L"123-456", 0, L""},
                 {L"123456", 257, L""},
                 {L"123456", 256, L""},
                 {L"123456", -1, L""}};
    for (const auto& c : cases) {
        RegData got = starter_.GetStatusText(c.number, c.status);
        EXPECT_EQ(got.AsText(), c.expected) << Narrow(c.number) << " status " << c.status;
        EXPECT_EQ(got.IsEmpty(), *c.expected == 0) << Narrow(c.number) << " status " << c.status;
    }
}

// Where HKLM refuses the user's values (a user without elevation), they go to the virtual store,
// where the client reads them, and the client starts. Where no place the client reads takes them,
// the start stops with a message that says which value, where, and why.
TEST_F(StarterTest, ClientValuesGoWhereTheClientReadsThemOrTheStartStops) {
    const std::wstring user = icqlite::UserKey(L"4711");
    struct Case {
        const char* name;
        bool owners, machine, store; // read-only
        const wchar_t *value, *shownKey;
    } cases[] = {
        {"HKLM refuses", false, true, false, nullptr, nullptr},
        {"owners key refuses", true, false, false, L"LastOwner",
         L"HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners"},
        {"HKLM and the store refuse", false, true, true, L"LastStatus",
         L"HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\NewOwners\\4711\\ICQLite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        userKeys_.Clear();
        machineKeys_.Clear();
        storeKeys_.Clear();
        StandinClient standin(L"unwritable", {.noWindow = true});
        std::optional<ReadOnlyKey> owners;
        std::optional<ReadOnlyPlace> machine, store;
        if (c.owners)
            owners.emplace(HKEY_CURRENT_USER, icqlite::kOwnersKey);
        if (c.machine)
            machine.emplace(Place::Machine, user);
        if (c.store)
            store.emplace(Place::Store, user);
        starter_.SetUser(L"4711");
        starter_.SetStatus(1);
        starter_.SetStatusText(L"new message");
        CapturingPresenter shown;
        err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(),
                       [&] { starter_.StartICQ(StandinClient::ExePath(), false); });
        EXPECT_TRUE(shown.reports.empty()) << "a report instead of a message";
        if (!c.value) {
            EXPECT_TRUE(shown.messages.empty());
            EXPECT_TRUE(standin.WaitForLine(L"recorded")) << "the client was not started";
            const wchar_t* expected[][2] = {{L"LastStatus", L"1"}, {L"AwayStatusText", L"new message"}};
            for (auto [name, text] : expected)
                EXPECT_EQ(
                    reg_.ReadValue(name,
                                   std::wstring(kStoreRoot) + L"Mirabilis\\ICQ\\NewOwners\\4711\\ICQLite",
                                   HKEY_CURRENT_USER)
                        .AsText(),
                    text);
            continue;
        }
        EXPECT_EQ(shown.numbers, std::vector<int32_t>{ERR_CLIENT_VALUE_NOT_WRITTEN});
        ASSERT_EQ(shown.messages.size(), 1u);
        for (std::wstring part : {std::wstring(L"could not be saved"), std::wstring(c.value),
                                  std::wstring(c.shownKey), std::wstring(L"(5)")})
            EXPECT_NE(shown.messages[0].find(part), std::wstring::npos)
                << "'" << Narrow(part) << "' missing in the message: " << Narrow(shown.messages[0]);
        EXPECT_EQ(CountProcesses(L"standin_client.exe"), 0u) << "the client was started";
        EXPECT_TRUE(Get(Place::Machine, L"AwayStatusText", user).IsEmpty()) << "written after the failure";
        EXPECT_TRUE(Get(Place::Store, L"AwayStatusText", user).IsEmpty()) << "written after the failure";
    }
}
