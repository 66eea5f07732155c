#include "client/icq_lite.h"

#include "app/shared.h"
#include "errors/trap.h"

namespace velmora::icqlite {
namespace {
std::wstring g_exePathCache;

const Reg& reg() {
    return *Shared().reg;
}
} // namespace

std::wstring UserKey(const std::wstring& number) {
    return std::wstring(kOwnersKey) + L"\\" + number + L"\\ICQLite";
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
    return err::Trap(L"basICQLite.LastUser", err::NoArgs(),
                     [&] { return reg().ReadValue(L"LastOwner", kOwnersKey, HKEY_CURRENT_USER).AsText(); });
}

LSTATUS SetLastUser(const std::wstring& user) {
    return err::Trap(L"basICQLite.LastUser(strUser)", err::Args(user), [&] {
        return reg().WriteValueChecked(L"LastOwner", user, REG_DWORD, kOwnersKey, HKEY_CURRENT_USER);
    });
}

std::vector<std::wstring> GetUsers() {
    return err::Trap(L"basICQLite.GetUsers())", err::NoArgs(),
                     [&] { return reg().EnumKeys(kOwnersKey, HKEY_CURRENT_USER); });
}

int32_t GetLastStatus(const std::wstring& user) {
    return err::Trap(L"basICQLite.GetLastStatus(strUser)", err::Args(user), [&] {
        if (user.empty())
            return int32_t{0};
        int32_t status =
            reg().ReadValue(L"LastStatus", UserKey(user), HKEY_LOCAL_MACHINE, kClientView).AsNumber();
        return status == 256 ? int32_t{257} : status;
    });
}

bool MultiInstanceEnable() {
    return err::Trap(L"basICQLite.MultiInstanceEnable", err::NoArgs(), [&] {
        return reg()
                   .ReadValue(L"MultiInstance", kDefaultPrefsKey, HKEY_LOCAL_MACHINE, kClientView)
                   .AsText() == L"Yes";
    });
}

LSTATUS SetMultiInstanceEnable(bool enable) {
    return err::Trap(L"basICQLite.MultiInstanceEnable(bolEnable)", err::Args(enable), [&] {
        return reg().WriteValueChecked(L"MultiInstance", enable ? L"Yes" : L"False", REG_SZ, kDefaultPrefsKey,
                                       HKEY_LOCAL_MACHINE, kClientView);
    });
}

std::wstring GetBuildId() {
    return err::Trap(L"basICQLite.GetBuildId", err::NoArgs(), [&] {
        return reg().ReadValue(L"LiteBuildId", kDefaultPrefsKey, HKEY_LOCAL_MACHINE, kClientView).AsText();
    });
}

} // namespace velmora::icqlite
