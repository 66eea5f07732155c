// The installed client as seen from the registry: where its exe is, which users it has recorded,
// who logged in last, each user's last status, its multi-instance switch and build id.
//
// The client is a 32-bit program without a manifest. Its machine-wide values live in the 32-bit
// view of HKLM, and under User Account Control Windows virtualizes its access to them: it reads a
// value from the user's virtual store first and writes there when HKLM refuses. This program is
// never virtualized, so every machine-wide value of the client goes through ReadMachineValue and
// WriteMachineValue below, which do for it what Windows does for the client.
#pragma once
#include "settings/reg.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::icqlite {

inline constexpr wchar_t kOwnersKey[] = L"Software\\Mirabilis\\ICQ\\NewOwners";
inline constexpr wchar_t kDefaultPrefsKey[] = L"Software\\Mirabilis\\ICQ\\DefaultPrefs";
inline constexpr wchar_t kAppPathsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQLite.exe";
inline constexpr RegView kClientView = RegView::View32;

// "Software\Mirabilis\ICQ\NewOwners\<number>\ICQLite", the number exactly as given.
std::wstring UserKey(const std::wstring& number);

// The virtual-store key (under HKEY_CURRENT_USER) of the machine key "Software\<path>":
// "Software\Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\<path>" on 64-bit Windows, without
// "WOW6432Node\" on 32-bit Windows. Empty for a key outside "Software\".
std::wstring VirtualStoreKey(std::wstring_view machineKey, bool windows64);
std::wstring VirtualStoreKey(std::wstring_view machineKey); // for the running Windows

// A machine-wide value as the client reads it: the virtual-store copy when there is one, else
// HKLM (32-bit view).
RegData ReadMachineValue(const std::wstring& name, const std::wstring& machineKey);

// The result of a write, and where it failed: "HKEY_LOCAL_MACHINE\<key>" or the virtual store.
struct WriteResult {
    LSTATUS code = ERROR_SUCCESS;
    std::wstring where;
};
// Writes HKLM (32-bit view), and also the virtual store when HKLM refused or when the virtual
// store already has a copy of the key (the client would keep reading that stale copy). Fails only
// when the place the client reads the value from did not take it.
WriteResult WriteMachineValue(const std::wstring& name, const RegData& value, DWORD type,
                              const std::wstring& machineKey);

// What some machine-wide values of one key hold now, in HKLM and in the virtual store, so that a
// start that is refused halfway can put them back.
struct MachineValues {
    std::wstring machineKey;
    struct Value {
        std::wstring name;
        RegData machine, store;
    };
    std::vector<Value> values;
};
MachineValues SaveMachineValues(const std::wstring& machineKey, const std::vector<std::wstring>& names);
// Writes back what was saved (a value that was missing is deleted again); failures are ignored.
// Texts come back as REG_SZ, numbers as REG_DWORD and lists as REG_MULTI_SZ.
void RestoreMachineValues(const MachineValues& saved);

std::wstring ExePath(); // cached once a non-empty path was found
// App Paths default value (32-bit view first, then the 64-bit one) without blanks and quotes
// around it; the first text of a list; "" for any other type.
std::wstring GetExePath();
bool IsInstalled();
// "" when "LastOwner" is missing or holds no ICQ number in its canonical form (0, a DWORD above
// 2147483647, a text that is no such number).
std::wstring LastUser();
// Writes "LastOwner" (REG_DWORD); returns the registry's result for callers that check it.
LSTATUS SetLastUser(const std::wstring& user);
// The recorded users: the NewOwners subkeys named by an ICQ number in its canonical form (the ones
// a start accepts), in enumeration order.
std::vector<std::wstring> GetUsers();
// Whether the client keeps anything for that ICQ number (canonical form): its NewOwners subkey or
// a last status.
bool IsRecordedUser(const std::wstring& user);
// 0 for no user, a missing or empty value; 256 reads as 257. A text that is no number is a type
// mismatch.
int32_t GetLastStatus(const std::wstring& user);
// The last status as the program shows it: nothing for a code outside the status table or a
// value that is no number (nothing to report: the user chooses a status instead).
std::optional<int32_t> ShownLastStatus(const std::wstring& user);
bool MultiInstanceEnable();
WriteResult SetMultiInstanceEnable(bool enable);
std::wstring GetBuildId();

// Forgets the cached exe path (tests only: the cache lives for the process).
void ResetExePathCache();

} // namespace velmora::icqlite
