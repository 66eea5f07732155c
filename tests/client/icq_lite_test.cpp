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
    for (const wchar_t* outside : {L"System\\Mirabilis", L"Software\\", L"SoftwareX\\Mirabilis"})
        EXPECT_EQ(icqlite::VirtualStoreKey(outside, true), L"") << Narrow(outside);
}

TEST_F(ClientData, UsersAreTheAllDigitSubkeysAndTheLastOwnerANumberAboveZero) {
    EXPECT_TRUE(icqlite::GetUsers().empty()) << "no NewOwners key";
    RecordUsers({{L"-5"}, {L"111"}, {L"12x"}, {L"222"}, {L"2a"}}, L"");
    EXPECT_EQ(icqlite::GetUsers(), (std::vector<std::wstring>{L"111", L"222"}));

    EXPECT_EQ(icqlite::LastUser(), L"") << "LastOwner missing";
    const std::pair<DWORD, const wchar_t*> owners[] = {
        {123456, L"123456"}, {2147483647, L"2147483647"}, {2147483648u, L""}, {0xFFFFFFFF, L""}, {0, L""}};
    for (auto [stored, expected] : owners) {
        reg_.WriteValue(L"LastOwner", static_cast<int32_t>(stored), REG_DWORD, icqlite::kOwnersKey,
                        HKEY_CURRENT_USER);
        EXPECT_EQ(icqlite::LastUser(), expected) << "stored " << stored;
    }
}

// The virtual-store copy of a value wins over HKLM's; without one, HKLM (32-bit view) is read.
TEST_F(ClientData, MachineValuesAreReadWhereTheClientReadsThem) {
    struct Case {
        const char* name;
        RegData machine, store; // empty: not stored there
        DWORD type;
        int32_t status;
    } cases[] = {
        {"nowhere", {}, {}, REG_DWORD, 0},
        {"HKLM", 16, {}, REG_DWORD, 16},
        {"store only", {}, 2, REG_DWORD, 2},
        {"both", 1, 32, REG_DWORD, 32},
        {"256 is invisible", 256, {}, REG_DWORD, 257},
        {"empty text", L"", {}, REG_SZ, 0},
        {"empty text in the store", 4, L"", REG_SZ, 0},
    };
    for (const auto& c : cases) {
        machineKeys_.Clear();
        storeKeys_.Clear();
        if (!c.machine.IsEmpty())
            Put(Place::Machine, L"LastStatus", c.machine, c.type, kUser);
        if (!c.store.IsEmpty())
            Put(Place::Store, L"LastStatus", c.store, c.type, kUser);
        EXPECT_EQ(icqlite::GetLastStatus(L"555"), c.status) << c.name;
    }
    EXPECT_EQ(icqlite::GetLastStatus(L""), 0) << "no user";
    Put(Place::Store, L"LastStatus", L"away", REG_SZ, kUser);
    EXPECT_THROW(icqlite::GetLastStatus(L"555"), err::Error) << "a text status was accepted";

    EXPECT_EQ(icqlite::GetBuildId(), L"");
    Put(Place::Machine, L"LiteBuildId", L"1211", REG_SZ, kPrefs);
    EXPECT_EQ(icqlite::GetBuildId(), L"1211");
    Put(Place::Store, L"LiteBuildId", L"1300", REG_SZ, kPrefs);
    EXPECT_EQ(icqlite::GetBuildId(), L"1300");

    const std::pair<const wchar_t*, bool> multi[] = {
        {L"Yes", true}, {L"yes", false}, {L"YES", false}, {L"True", false}, {L"", false}};
    for (auto [stored, expected] : multi) {
        Put(Place::Machine, L"MultiInstance", stored, REG_SZ, kPrefs);
        EXPECT_EQ(icqlite::MultiInstanceEnable(), expected) << "stored '" << Narrow(stored) << "'";
    }
    Put(Place::Store, L"MultiInstance", L"False", REG_SZ, kPrefs);
    Put(Place::Machine, L"MultiInstance", L"Yes", REG_SZ, kPrefs);
    EXPECT_FALSE(icqlite::MultiInstanceEnable()) << "HKLM read over the store's copy";
}

// A write reaches HKLM and, where the client would read a copy, the store; it fails only when the
// place the client reads from did not take it.
TEST_F(ClientData, WritesReachThePlaceTheClientReads) {
    enum Key { Writable, Missing, ReadOnly };
    struct Case {
        const char* name;
        Key machine, store;
        bool storeHasValue;
        LSTATUS code;
        std::wstring where;
        const wchar_t *inMachine, *inStore; // what each place holds afterwards; nullptr: nothing
    } cases[] = {
        {"HKLM only", Writable, Missing, false, ERROR_SUCCESS, L"", L"Yes", nullptr},
        {"store key exists", Writable, Writable, false, ERROR_SUCCESS, L"", L"Yes", L"Yes"},
        {"HKLM refuses", ReadOnly, Missing, false, ERROR_SUCCESS, L"", L"old", L"Yes"},
        {"HKLM refuses, store has the value", ReadOnly, Writable, true, ERROR_SUCCESS, L"", L"old", L"Yes"},
        {"both refuse", ReadOnly, ReadOnly, true, ERROR_ACCESS_DENIED,
         L"HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\DefaultPrefs", L"old", L"old"},
        {"store refuses, holds an old copy", Writable, ReadOnly, true, ERROR_ACCESS_DENIED,
         std::wstring(L"HKEY_CURRENT_USER\\") + kStoreRoot + L"Mirabilis\\ICQ\\DefaultPrefs", L"Yes", L"old"},
        {"store refuses, has no copy", Writable, ReadOnly, false, ERROR_SUCCESS, L"", L"Yes", nullptr},
    };
    for (const auto& c : cases) {
        machineKeys_.Clear();
        storeKeys_.Clear();
        Put(Place::Machine, L"MultiInstance", L"old", REG_SZ, kPrefs);
        if (c.storeHasValue)
            Put(Place::Store, L"MultiInstance", L"old", REG_SZ, kPrefs);
        else if (c.store != Missing)
            Put(Place::Store, L"Other", L"", REG_SZ, kPrefs);
        std::optional<ReadOnlyPlace> lockedMachine, lockedStore;
        if (c.machine == ReadOnly)
            lockedMachine.emplace(Place::Machine, kPrefs);
        if (c.store == ReadOnly)
            lockedStore.emplace(Place::Store, kPrefs);

        icqlite::WriteResult result = icqlite::SetMultiInstanceEnable(true);
        EXPECT_EQ(result.code, c.code) << c.name;
        EXPECT_EQ(result.where, c.where) << c.name;
        EXPECT_EQ(Get(Place::Machine, L"MultiInstance", kPrefs).AsText(), c.inMachine) << c.name;
        EXPECT_EQ(Get(Place::Store, L"MultiInstance", kPrefs).IsEmpty(), c.inStore == nullptr) << c.name;
        if (c.inStore)
            EXPECT_EQ(Get(Place::Store, L"MultiInstance", kPrefs).AsText(), c.inStore) << c.name;
        EXPECT_EQ(reg_.KeyExists(KeyOf(Place::Store, kPrefs), HKEY_CURRENT_USER),
                  c.store != Missing || c.inStore)
            << c.name << ": the store key was created needlessly";
    }
    icqlite::SetMultiInstanceEnable(false);
    EXPECT_EQ(Get(Place::Machine, L"MultiInstance", kPrefs).AsText(), L"False");
}

// App Paths is read in HKLM only (installers write it, the shell reads it unvirtualized): the
// 32-bit view first, where the 32-bit client's installer writes, then the 64-bit one.
TEST_F(ClientData, InstalledMeansANonEmptyAppPathsEntry) {
    SeparateAppPathsViews separate;
    ASSERT_TRUE(SeparateAppPathsViews::Separate()) << "the two views share one App Paths key";
    ScratchKey appPaths32{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    ScratchKey appPaths64{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View64};
    enum Entry { None, KeyOnly, Empty, Path };
    struct Case {
        const char* name;
        Entry view32, view64;
        const wchar_t* path;
    } cases[] = {
        {"no entry", None, None, L""},
        {"empty, 32-bit view", Empty, None, L""},
        {"empty, 64-bit view", None, Empty, L""},
        {"no default value in either view", KeyOnly, KeyOnly, L""},
        {"32-bit view", Path, None, L"C:\\32\\ICQLite.exe"},
        {"64-bit view only", None, Path, L"C:\\64\\ICQLite.exe"},
        {"empty in the 32-bit view, path in the 64-bit one", Empty, Path, L"C:\\64\\ICQLite.exe"},
        {"both views", Path, Path, L"C:\\32\\ICQLite.exe"},
    };
    for (const auto& c : cases) {
        appPaths32.Clear();
        appPaths64.Clear();
        for (auto [entry, view, path] : {std::tuple(c.view32, RegView::View32, L"C:\\32\\ICQLite.exe"),
                                         std::tuple(c.view64, RegView::View64, L"C:\\64\\ICQLite.exe")})
            if (entry != None)
                reg_.WriteValue(entry == KeyOnly ? L"Path" : L"", entry == Path ? path : L"", REG_SZ,
                                icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, view);
        EXPECT_EQ(icqlite::GetExePath(), c.path) << c.name;
        EXPECT_EQ(icqlite::IsInstalled(), *c.path != 0) << c.name;
    }
}

TEST_F(ClientData, ExePathKeepsTheFirstPathFoundButRetriesAnEmptyOne) {
    ScratchKey appPaths32{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    icqlite::ResetExePathCache();
    EXPECT_EQ(icqlite::ExePath(), L"");
    for (const wchar_t* path : {L"C:\\first.exe", L"C:\\second.exe"}) {
        reg_.WriteValue(L"", path, REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
        EXPECT_EQ(icqlite::ExePath(), L"C:\\first.exe");
        EXPECT_EQ(icqlite::GetExePath(), path);
    }
    icqlite::ResetExePathCache();
}
