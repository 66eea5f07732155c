// The installed client as seen from the registry: where its exe is, which users it has recorded,
// who logged in last, each user's last status, its multi-instance switch and build id.
// The client is a 32-bit program: its machine-wide values live in the 32-bit registry view.
#pragma once
#include "settings/reg.h"

#include <string>
#include <vector>

namespace velmora::icqlite {

inline constexpr wchar_t kOwnersKey[] = L"Software\\Mirabilis\\ICQ\\NewOwners";
inline constexpr wchar_t kDefaultPrefsKey[] = L"Software\\Mirabilis\\ICQ\\DefaultPrefs";
inline constexpr wchar_t kAppPathsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQLite.exe";
inline constexpr RegView kClientView = RegView::View32;

// "Software\Mirabilis\ICQ\NewOwners\<number>\ICQLite", the number exactly as given.
std::wstring UserKey(const std::wstring& number);

std::wstring ExePath();    // cached once a non-empty path was found
std::wstring GetExePath(); // App Paths default value: 32-bit view first, then the 64-bit one
bool IsInstalled();
std::wstring LastUser();
// Writes "LastOwner" (REG_DWORD); returns the registry's result for callers that check it.
LSTATUS SetLastUser(const std::wstring& user);
std::vector<std::wstring> GetUsers();
int32_t GetLastStatus(const std::wstring& user);
bool MultiInstanceEnable();
// Writes "Yes" or "False"; returns the registry's result for callers that check it.
LSTATUS SetMultiInstanceEnable(bool enable);
std::wstring GetBuildId();

// Forgets the cached exe path (tests only: the cache lives for the process).
void ResetExePathCache();

} // namespace velmora::icqlite
