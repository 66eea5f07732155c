// The client's registry data as the program reads and writes it, in the client's real keys.
#include "client/client_fixture.h"

#include "errors/err_trace.h"
#include "support/app_paths_views.h"

using namespace velmora;
using namespace velmora::test;

namespace {

using ClientData = ClientTest;
const std::wstring kUser = icqlite::UserKey(L"555");
const std::wstring kPrefs = icqlite::kDefaultPrefsKey;

} // namespace

TEST(VirtualStore, KeyDependsOnWhetherWindowsIs64Bit) {
    const std::wstring prefix = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\";
    EXPECT_EQ(icqlite::VirtualStoreKey(L"Software\\Mirabilis\\ICQ", true),
              prefix + L"WOW6432Node\\Mirabilis\\ICQ");
    EXPECT_EQ(icqlite::VirtualStoreKey(L"SOFTWARE\\Mirabilis", false), prefix + L"Mirabilis");
}

// "LastOwner" is a DWORD that must hold a number above zero that fits a signed 32-bit one. The users
// are the owners' subkeys named by digits only, in the registry's order.
TEST_F(ClientData, LastOwnerAndUsers) {
    EXPECT_EQ(icqlite::LastUser() + L"|" + std::to_wstring(icqlite::GetUsers().size()), L"|0") << "no key";
    for (auto [stored, expected] : {std::pair<DWORD, const wchar_t*>{123456, L"123456"},
                                    {2147483647, L"2147483647"},
                                    {2147483648u, L""},
                                    {0, L""}}) {
        reg_.WriteValue(L"LastOwner", static_cast<int32_t>(stored), REG_DWORD, icqlite::kOwnersKey,
                        HKEY_CURRENT_USER);
        EXPECT_EQ(icqlite::LastUser(), expected) << "stored " << stored;
    }
    RecordUsers({{L"456"}, {L"12x"}, {L"-5"}, {L"123"}, {L"x"}}, L"");
    EXPECT_EQ(icqlite::GetUsers(), (std::vector<std::wstring>{L"123", L"456"}));
}

// The virtual-store copy of a value wins over HKLM's, even an empty one; without one, HKLM (32-bit
// view) is read. (Values in HKLM alone are read by every end-to-end test.)
TEST_F(ClientData, MachineValuesAreReadWhereTheClientReadsThem) {
    const std::tuple<RegData, RegData, DWORD, int32_t> statuses[] = {{{}, {}, REG_DWORD, 0},
                                                                     {{}, 2, REG_DWORD, 2},
                                                                     {1, 32, REG_DWORD, 32},
                                                                     {L"", {}, REG_SZ, 0},
                                                                     {4, L"", REG_SZ, 0}};
    for (const auto& [machine, store, type, expected] : statuses) {
        machineKeys_.Clear();
        storeKeys_.Clear();
        if (!machine.IsEmpty())
            Put(Place::Machine, L"LastStatus", machine, type, kUser);
        if (!store.IsEmpty())
            Put(Place::Store, L"LastStatus", store, type, kUser);
        EXPECT_EQ(icqlite::GetLastStatus(L"555"), expected)
            << "HKLM '" << Narrow(machine.AsText()) << "', store '" << Narrow(store.AsText()) << "'";
    }
    EXPECT_EQ(icqlite::GetLastStatus(L""), 0) << "no user";
    Put(Place::Store, L"LastStatus", L"away", REG_SZ, kUser);
    EXPECT_THROW(icqlite::GetLastStatus(L"555"), err::Error) << "a text status was accepted";
    for (auto [name, machine, store] :
         {std::tuple{L"LiteBuildId", L"1211", L"1300"}, {L"MultiInstance", L"Yes", L"False"}}) {
        Put(Place::Machine, name, machine, REG_SZ, kPrefs);
        Put(Place::Store, name, store, REG_SZ, kPrefs);
    }
    EXPECT_EQ(icqlite::GetBuildId(), L"1300");
    EXPECT_FALSE(icqlite::MultiInstanceEnable()) << "HKLM's \"Yes\" read over the store's copy";
}

// A write reaches HKLM and, where the client would read a copy, the store; it fails only when the
// place the client reads from did not take it.
TEST_F(ClientData, WritesReachThePlaceTheClientReads) {
    const std::wstring store = Where(Place::Store, kPrefs).key;
    enum Failed { No, AtMachine, AtStore };
    struct Case {
        const char* name;
        char machine, store; // the keys: '-' none, 'k' writable, 'v' holding the value; 'r', 'R' read-only
        Failed failed;
        const wchar_t *inMachine, *inStore; // what each place holds afterwards
    } cases[] = {{"HKLM only", 'k', '-', No, L"Yes", L""},
                 {"store key exists", 'k', 'k', No, L"Yes", L"Yes"},
                 {"HKLM refuses", 'r', '-', No, L"old", L"Yes"},
                 {"HKLM refuses, store has the value", 'r', 'v', No, L"old", L"Yes"},
                 {"both refuse", 'r', 'R', AtMachine, L"old", L"old"},
                 {"store refuses, holds an old copy", 'k', 'R', AtStore, L"Yes", L"old"},
                 {"store refuses, has no copy", 'k', 'r', No, L"Yes", L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        machineKeys_.Clear();
        storeKeys_.Clear();
        Put(Place::Machine, L"MultiInstance", L"old", REG_SZ, kPrefs);
        if (c.store != '-')
            Put(Place::Store, c.store == 'v' || c.store == 'R' ? L"MultiInstance" : L"Other", L"old", REG_SZ,
                kPrefs);
        std::optional<ReadOnlyPlace> lockedMachine, lockedStore;
        if (c.machine == 'r')
            lockedMachine.emplace(Place::Machine, kPrefs);
        if (c.store == 'r' || c.store == 'R')
            lockedStore.emplace(Place::Store, kPrefs);

        icqlite::WriteResult result = icqlite::SetMultiInstanceEnable(true);
        EXPECT_EQ(result.code, c.failed ? ERROR_ACCESS_DENIED : ERROR_SUCCESS);
        EXPECT_EQ(result.where, c.failed == No          ? L""
                                : c.failed == AtMachine ? L"HKEY_LOCAL_MACHINE\\" + kPrefs
                                                        : L"HKEY_CURRENT_USER\\" + store);
        EXPECT_EQ(Get(Place::Machine, L"MultiInstance", kPrefs).AsText(), c.inMachine);
        EXPECT_EQ(Get(Place::Store, L"MultiInstance", kPrefs).AsText(), c.inStore);
        EXPECT_EQ(reg_.KeyExists(store, HKEY_CURRENT_USER), c.store != '-' || *c.inStore)
            << "the store key was created needlessly";
    }
}

// App Paths is read in HKLM only (installers write it, the shell reads it unvirtualized): the
// 32-bit view first, where the 32-bit client's installer writes, then the 64-bit one. ExePath keeps
// the first path it found, but looks again while it found none.
TEST_F(ClientData, InstalledMeansANonEmptyAppPathsEntry) {
    SeparateAppPathsViews separate;
    ASSERT_TRUE(SeparateAppPathsViews::Separate()) << "the two views share one App Paths key";
    ScratchKey appPaths32{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    ScratchKey appPaths64{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View64};
    const wchar_t *path32 = L"C:\\32\\ICQLite.exe", *path64 = L"C:\\64\\ICQLite.exe";
    // The entry in the 32-bit and the 64-bit view: '-' none, 'k' a key without default value, 'e' an
    // empty path, 'p' a path; and the path found.
    const std::pair<const char*, const wchar_t*> cases[] = {{"--", L""},    {"e-", L""},    {"-e", L""},
                                                            {"kk", L""},    {"p-", path32}, {"-p", path64},
                                                            {"ep", path64}, {"pp", path32}};
    for (auto [entries, found] : cases) {
        SCOPED_TRACE(entries);
        appPaths32.Clear();
        appPaths64.Clear();
        for (int i : {0, 1})
            if (entries[i] != '-')
                reg_.WriteValue(
                    entries[i] == 'k' ? L"Path" : L"", entries[i] == 'p' ? (i ? path64 : path32) : L"",
                    REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, i ? RegView::View64 : RegView::View32);
        EXPECT_EQ(icqlite::GetExePath(), found);
        EXPECT_EQ(icqlite::IsInstalled(), *found != 0);
    }
    appPaths32.Clear();
    appPaths64.Clear();
    icqlite::ResetExePathCache();
    EXPECT_EQ(icqlite::ExePath(), L"");
    for (const wchar_t* path : {L"C:\\first.exe", L"C:\\second.exe"}) {
        reg_.WriteValue(L"", path, REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
        EXPECT_EQ(icqlite::ExePath(), L"C:\\first.exe");
    }
    icqlite::ResetExePathCache();
}
