// The client's registry data as the program reads and writes it, in the client's real keys.
#include "client/client_fixture.h"

#include "errors/err_trace.h"

using namespace velmora;
using namespace velmora::test;

namespace {

using ClientData = ClientTest;
const std::wstring kUser = icqlite::UserKey(L"555");
const std::wstring kPrefs = icqlite::kDefaultPrefsKey;

} // namespace

TEST(VirtualStore, KeyDependsOnWhetherWindowsIs64Bit) {
    const std::wstring prefix = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\";
    EXPECT_EQ(icqlite::VirtualStoreKey(L"Software\\Mirabilis", true), prefix + L"WOW6432Node\\Mirabilis");
    EXPECT_EQ(icqlite::VirtualStoreKey(L"SOFTWARE\\Mirabilis", false), prefix + L"Mirabilis");
}

// "LastOwner" and the listed users are ICQ numbers a start accepts, in the form the client writes
// them: a DWORD above zero that fits a signed 32-bit one, or such a number as text; anything else
// (a text of 100,000 digits, a key of 20) is no user. The users come in the registry's order.
TEST_F(ClientData, LastOwnerAndUsers) {
    EXPECT_EQ(icqlite::LastUser() + L"|" + std::to_wstring(icqlite::GetUsers().size()), L"|0") << "no key";
    const std::tuple<RegData, DWORD, const wchar_t*> owners[] = {{123456, REG_DWORD, L"123456"},
                                                                 {2147483647, REG_DWORD, L"2147483647"},
                                                                 {int32_t(2147483648u), REG_DWORD, L""},
                                                                 {0, REG_DWORD, L""},
                                                                 {L"4711", REG_SZ, L"4711"},
                                                                 {std::wstring(100000, L'7'), REG_SZ, L""},
                                                                 {L"0815", REG_SZ, L""},
                                                                 {L"x", REG_SZ, L""}};
    for (const auto& [stored, type, expected] : owners) {
        reg_.WriteValue(L"LastOwner", stored, type, icqlite::kOwnersKey, HKEY_CURRENT_USER);
        EXPECT_EQ(icqlite::LastUser(), expected) << "stored " << Narrow(stored.AsText().substr(0, 20));
    }
    RecordUsers({{L"456"},
                 {L"12x"},
                 {L"-5"},
                 {L"4294967296"},
                 {L"12345678901234567890"},
                 {L"0777"},
                 {L"123"},
                 {L"x"},
                 {L"2147483648"}},
                L"");
    EXPECT_EQ(icqlite::GetUsers(), (std::vector<std::wstring>{L"123", L"456"}));
}

// The virtual-store copy of a value wins over HKLM's, even an empty one; without one, HKLM (32-bit
// view) is read. (Values in HKLM alone are read by every end-to-end test.)
TEST_F(ClientData, MachineValuesAreReadWhereTheClientReadsThem) {
    // LastStatus in HKLM and in the store (nothing: missing), their type, and the status read.
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
    const std::wstring store = Key(Place::Store, kPrefs), inMachine = L"HKEY_LOCAL_MACHINE\\" + kPrefs,
                       inStore = L"HKEY_CURRENT_USER\\" + store;
    // The keys in HKLM and the store ('-' none, 'k' writable, 'v' holding the value; 'r', 'R' read-only),
    // where the write failed, and what each place holds afterwards.
    const std::tuple<const char*, char, char, std::wstring, const wchar_t*, const wchar_t*> cases[] = {
        {"HKLM only", 'k', '-', L"", L"Yes", L""},
        {"store key exists", 'k', 'k', L"", L"Yes", L"Yes"},
        {"HKLM refuses", 'r', '-', L"", L"old", L"Yes"},
        {"HKLM refuses, store has the value", 'r', 'v', L"", L"old", L"Yes"},
        {"both refuse", 'r', 'R', inMachine, L"old", L"old"},
        {"store refuses, holds an old copy", 'k', 'R', inStore, L"Yes", L"old"},
        {"store refuses, has no copy", 'k', 'r', L"", L"Yes", L""}};
    for (const auto& [name, machineKey, storeKey, failed, machineHolds, storeHolds] : cases) {
        SCOPED_TRACE(name);
        machineKeys_.Clear();
        storeKeys_.Clear();
        Put(Place::Machine, L"MultiInstance", L"old", REG_SZ, kPrefs);
        if (storeKey != '-')
            Put(Place::Store, storeKey == 'v' || storeKey == 'R' ? L"MultiInstance" : L"Other", L"old",
                REG_SZ, kPrefs);
        std::optional<ReadOnlyKey> lockedMachine, lockedStore;
        if (machineKey == 'r')
            Lock(lockedMachine, Place::Machine, kPrefs);
        if (storeKey == 'r' || storeKey == 'R')
            Lock(lockedStore, Place::Store, kPrefs);
        icqlite::WriteResult result = icqlite::SetMultiInstanceEnable(true);
        EXPECT_EQ(std::pair(result.code, result.where),
                  std::pair(failed.empty() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED, failed));
        EXPECT_EQ(Get(Place::Machine, L"MultiInstance", kPrefs).AsText(), machineHolds);
        EXPECT_EQ(Get(Place::Store, L"MultiInstance", kPrefs).AsText(), storeHolds);
        EXPECT_EQ(reg_.KeyExists(store, HKEY_CURRENT_USER), storeKey != '-' || *storeHolds)
            << "the store key was created needlessly";
    }
}

// App Paths is read in HKLM only (installers write it, the shell reads it unvirtualized), where the
// 32-bit client's installer writes it. (Windows 7 and later keep one App Paths key for both registry
// views, as Wine's prefix does; the 64-bit view is asked only where they are apart.)
TEST_F(ClientData, InstalledMeansANonEmptyAppPathsEntry) {
    ScratchKey appPaths{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    // The value (nullptr: no key), what it holds and its type, and the path found. Installers write
    // the path in quotes too.
    const std::wstring exe = L"C:\\Program Files (x86)\\ICQLite\\ICQLite.exe";
    const std::tuple<const wchar_t*, RegData, DWORD, std::wstring> cases[] = {
        {nullptr, L"", REG_SZ, L""},
        {L"Path", exe, REG_SZ, L""},
        {L"", L"", REG_SZ, L""},
        {L"", exe, REG_SZ, exe},
        {L"", L" \"" + exe + L"\"\t", REG_SZ, exe},
        {L"", L"\"\"", REG_SZ, L""},
        {L"", std::vector<std::wstring>{L"\"" + exe + L"\"", L"D:\\other.exe"}, REG_MULTI_SZ, exe},
        {L"", std::vector<std::wstring>{}, REG_MULTI_SZ, L""},
        {L"", 42, REG_DWORD, L""}};
    for (const auto& [value, data, type, found] : cases) {
        appPaths.Clear();
        if (value)
            reg_.WriteValue(value, data, type, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
        EXPECT_EQ(icqlite::GetExePath(), found) << "type " << type;
        EXPECT_EQ(icqlite::IsInstalled(), !found.empty());
    }
}
