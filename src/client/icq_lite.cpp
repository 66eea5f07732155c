#include "client/icq_lite.h"

#include "client/icq_number.h"
#include "client/status.h"
#include "errors/trap.h"
#include "platform/process.h"

#include <algorithm>

namespace velmora::icqlite {
namespace {
std::wstring g_exePathCache;

// The registry wrapper keeps no state: one of this module's own serves every call.
const Reg& reg() {
    static const Reg registry;
    return registry;
}

constexpr std::wstring_view kSoftware = L"Software\\";

// The exe path an App Paths entry holds. Installers write it with quotes too, and now and then as
// a list of texts; blanks around it mean nothing. Any other type names no program.
std::wstring PathFromAppPaths(const RegData& entry) {
    std::wstring path;
    if (entry.IsText())
        path = entry.AsText();
    else if (entry.IsList() && !entry.AsList().empty())
        path = entry.AsList().front();
    constexpr std::wstring_view kBlanks = L" \t";
    size_t first = path.find_first_not_of(kBlanks), last = path.find_last_not_of(kBlanks);
    if (first == std::wstring::npos)
        return {};
    path = path.substr(first, last - first + 1);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return path;
}

// A user the client can have recorded: an ICQ number in the one form the client writes it (a
// subkey or "LastOwner" of any other form would be started under another key than it names).
bool IsClientNumber(const std::wstring& text) {
    return CanonicalIcqNumber(text) == text;
}
} // namespace

std::wstring UserKey(const std::wstring& number) {
    return std::wstring(kOwnersKey) + L"\\" + number + L"\\ICQLite";
}

std::wstring VirtualStoreKey(std::wstring_view machineKey, bool windows64) {
    if (machineKey.size() <= kSoftware.size() ||
        CompareStringOrdinal(machineKey.data(), static_cast<int>(kSoftware.size()), kSoftware.data(),
                             static_cast<int>(kSoftware.size()), TRUE) != CSTR_EQUAL)
        return {};
    return std::wstring(L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\") +
           (windows64 ? L"WOW6432Node\\" : L"") + std::wstring(machineKey.substr(kSoftware.size()));
}

std::wstring VirtualStoreKey(std::wstring_view machineKey) {
    static const bool windows64 = platform::WindowsIs64Bit();
    return VirtualStoreKey(machineKey, windows64);
}

RegData ReadMachineValue(const std::wstring& name, const std::wstring& machineKey) {
    // A value of a type the wrapper cannot read counts as no copy.
    const std::wstring store = VirtualStoreKey(machineKey);
    RegData copy = store.empty() ? RegData() : reg().ReadValue(name, store, HKEY_CURRENT_USER);
    return copy.IsEmpty() ? reg().ReadValue(name, machineKey, HKEY_LOCAL_MACHINE, kClientView) : copy;
}

WriteResult WriteMachineValue(const std::wstring& name, const RegData& value, DWORD type,
                              const std::wstring& machineKey) {
    LSTATUS machine = reg().WriteValueChecked(name, value, type, machineKey, HKEY_LOCAL_MACHINE, kClientView);
    const std::wstring store = VirtualStoreKey(machineKey);
    if (store.empty() || (machine == ERROR_SUCCESS && !reg().KeyExists(store, HKEY_CURRENT_USER)))
        return {machine, machine == ERROR_SUCCESS ? L"" : L"HKEY_LOCAL_MACHINE\\" + machineKey};
    LSTATUS copy = reg().WriteValueChecked(name, value, type, store, HKEY_CURRENT_USER);
    if (copy == ERROR_SUCCESS)
        return {};
    if (machine != ERROR_SUCCESS)
        return {machine, L"HKEY_LOCAL_MACHINE\\" + machineKey};
    // HKLM took it; the client reads it there unless the store holds an older copy of the value.
    if (reg().ReadValue(name, store, HKEY_CURRENT_USER).IsEmpty())
        return {};
    return {copy, L"HKEY_CURRENT_USER\\" + store};
}

MachineValues SaveMachineValues(const std::wstring& machineKey, const std::vector<std::wstring>& names) {
    MachineValues saved{machineKey, {}};
    const std::wstring store = VirtualStoreKey(machineKey);
    for (const std::wstring& name : names)
        saved.values.push_back({name, reg().ReadValue(name, machineKey, HKEY_LOCAL_MACHINE, kClientView),
                                store.empty() ? RegData() : reg().ReadValue(name, store, HKEY_CURRENT_USER)});
    return saved;
}

void RestoreMachineValues(const MachineValues& saved) {
    auto put = [](const std::wstring& name, const RegData& old, const std::wstring& key, HKEY root,
                  RegView view) {
        if (old.IsEmpty())
            reg().DeleteValueChecked(name, key, root, view);
        else
            reg().WriteValueChecked(name, old,
                                    old.IsNumber() ? REG_DWORD
                                    : old.IsList() ? REG_MULTI_SZ
                                                   : REG_SZ,
                                    key, root, view);
    };
    const std::wstring store = VirtualStoreKey(saved.machineKey);
    for (const MachineValues::Value& value : saved.values) {
        put(value.name, value.machine, saved.machineKey, HKEY_LOCAL_MACHINE, kClientView);
        if (!store.empty() && reg().KeyExists(store, HKEY_CURRENT_USER))
            put(value.name, value.store, store, HKEY_CURRENT_USER, RegView::Native);
    }
}

std::wstring ExePath() {
    return err::Trap(L"basICQLite.ExePath", err::NoArgs(), [&] {
        if (g_exePathCache.empty())
            g_exePathCache = GetExePath();
        return g_exePathCache;
    });
}

void ResetExePathCache() {
    g_exePathCache.clear();
}

// App Paths is written by installers and read by the shell without virtualization: HKLM only.
std::wstring GetExePath() {
    return err::Trap(L"basICQLite.GetExePath", err::NoArgs(), [&] {
        std::wstring path =
            PathFromAppPaths(reg().ReadValue(L"", kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32));
        if (path.empty())
            path = PathFromAppPaths(reg().ReadValue(L"", kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View64));
        return path;
    });
}

bool IsInstalled() {
    return err::Trap(L"basICQLite.IsInstalled", err::NoArgs(), [&] { return !GetExePath().empty(); });
}

std::wstring LastUser() {
    return err::Trap(L"basICQLite.LastUser", err::NoArgs(), [&] {
        // The DWORD reads as a signed number: above 2147483647 it is negative, and no ICQ number.
        // A text that is no number (100,000 digits, say) is no user either: the user box would not
        // take it.
        RegData owner = reg().ReadValue(L"LastOwner", kOwnersKey, HKEY_CURRENT_USER);
        std::wstring text = owner.IsList() ? std::wstring() : owner.AsText();
        return IsClientNumber(text) ? text : std::wstring();
    });
}

LSTATUS SetLastUser(const std::wstring& user) {
    return err::Trap(L"basICQLite.LastUser(strUser)", err::Args(user), [&] {
        return reg().WriteValueChecked(L"LastOwner", user, REG_DWORD, kOwnersKey, HKEY_CURRENT_USER);
    });
}

std::vector<std::wstring> GetUsers() {
    return err::Trap(L"basICQLite.GetUsers())", err::NoArgs(), [&] {
        std::vector<std::wstring> users = reg().EnumKeys(kOwnersKey, HKEY_CURRENT_USER);
        std::erase_if(users, [](const std::wstring& name) { return !IsClientNumber(name); });
        return users;
    });
}

bool IsRecordedUser(const std::wstring& user) {
    return err::Trap(L"basICQLite.IsRecordedUser(strUser)", err::Args(user), [&] {
        return IsClientNumber(user) &&
               (reg().KeyExists(std::wstring(kOwnersKey) + L"\\" + user, HKEY_CURRENT_USER) ||
                !ReadMachineValue(L"LastStatus", UserKey(user)).IsEmpty());
    });
}

int32_t GetLastStatus(const std::wstring& user) {
    return err::Trap(L"basICQLite.GetLastStatus(strUser)", err::Args(user), [&] {
        if (user.empty())
            return int32_t{0};
        RegData stored = ReadMachineValue(L"LastStatus", UserKey(user));
        if (stored.IsText() && stored.AsText().empty())
            return int32_t{0};
        int32_t status = stored.AsNumber();
        return status == 256 ? int32_t{257} : status;
    });
}

std::optional<int32_t> ShownLastStatus(const std::wstring& user) {
    std::optional<int32_t> code = err::IgnoreErrors(
        [&] { return std::optional<int32_t>(GetLastStatus(user)); }, std::optional<int32_t>());
    return code && status::Find(*code) ? code : std::nullopt;
}

bool MultiInstanceEnable() {
    return err::Trap(L"basICQLite.MultiInstanceEnable", err::NoArgs(), [&] {
        RegData stored = ReadMachineValue(L"MultiInstance", kDefaultPrefsKey);
        return stored.IsText() && stored.AsText() == L"Yes";
    });
}

WriteResult SetMultiInstanceEnable(bool enable) {
    return err::Trap(L"basICQLite.MultiInstanceEnable(bolEnable)", err::Args(enable), [&] {
        return WriteMachineValue(L"MultiInstance", enable ? L"Yes" : L"False", REG_SZ, kDefaultPrefsKey);
    });
}

std::wstring GetBuildId() {
    return err::Trap(L"basICQLite.GetBuildId", err::NoArgs(), [&] {
        RegData stored = ReadMachineValue(L"LiteBuildId", kDefaultPrefsKey);
        return stored.IsList() ? std::wstring() : stored.AsText();
    });
}

} // namespace velmora::icqlite
