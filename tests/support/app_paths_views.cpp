#include "support/app_paths_views.h"

#include "platform/handles.h"

extern "C" LONG NTAPI NtDeleteKey(HANDLE key); // ntdll: deletes the key behind a handle, even a link

namespace velmora::test {

constexpr wchar_t kLinkPath[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr REGSAM kAccess = KEY_ALL_ACCESS | KEY_WOW64_64KEY;

SeparateAppPathsViews::SeparateAppPathsViews() {
    platform::UniqueHKey link;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLinkPath, REG_OPTION_OPEN_LINK, kAccess, link.put()) !=
        ERROR_SUCCESS)
        return;
    wchar_t target[512];
    DWORD type = 0, bytes = sizeof(target);
    if (RegQueryValueExW(link.get(), L"SymbolicLinkValue", nullptr, &type, reinterpret_cast<BYTE*>(target),
                         &bytes) != ERROR_SUCCESS ||
        type != REG_LINK)
        return; // a key of its own already
    // Deleting by name would follow the link to the 64-bit key; the handle is the link itself.
    if (NtDeleteKey(link.get()) != 0)
        return;
    linkTarget_.assign(target, bytes / sizeof(wchar_t));
    link.reset();
    platform::UniqueHKey own;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLinkPath, 0, nullptr, 0, kAccess, nullptr, own.put(), nullptr);
}

SeparateAppPathsViews::~SeparateAppPathsViews() {
    if (linkTarget_.empty())
        return;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kLinkPath);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kLinkPath, KEY_WOW64_64KEY, 0);
    platform::UniqueHKey link;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLinkPath, 0, nullptr, REG_OPTION_CREATE_LINK, kAccess, nullptr,
                        link.put(), nullptr) == ERROR_SUCCESS)
        RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                       reinterpret_cast<const BYTE*>(linkTarget_.data()),
                       static_cast<DWORD>(linkTarget_.size() * sizeof(wchar_t)));
}

} // namespace velmora::test
