#include "client/icq_lite.h"

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
        std::wstring path = reg().ReadValue(L"", kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32).AsText();
        if (path.empty())
            path = reg().ReadValue(L"", kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View64).AsText();
        return path;
    });
}

bool IsInstalled() {
    return err::Trap(L"basICQLite.IsInstalled", err::NoArgs(), [&] { return !GetExePath().empty(); });
}

std::wstring LastUser() {
    return err::Trap(L"basICQLite.LastUser", err::NoArgs(), [&] {
        RegData owner = reg().ReadValue(L"LastOwner", kOwnersKey, HKEY_CURRENT_USER);
        // The DWORD reads as a signed number: above 2147483647 it is negative, and no ICQ number.
        if (owner.IsNumber())
            return owner.AsNumber() > 0 ? owner.AsText() : std::wstring();
        return owner.IsText() ? owner.AsText() : std::wstring();
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
        std::erase_if(users, [](const std::wstring& name) {
            return name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos;
        });
        return users;
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
