#include "platform/shell_link.h"

#include "platform/file_name.h"

#include <commctrl.h> // INFOTIPSIZE
#include <shlobj.h>

namespace velmora::platform {

HRESULT NewShellLink(const Shortcut& shortcut, ComPtr<IShellLinkW>& link) {
    if (!ShortcutTakes(shortcut.arguments))
        return E_INVALIDARG;
    HRESULT hr = on_demand::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             __uuidof(IShellLinkW), PutVoid(link));
    if (FAILED(hr))
        return hr;
    IShellLinkW* l = link.get();
    std::wstring description = shortcut.description.substr(0, INFOTIPSIZE - 1);
    if (FAILED(hr = l->SetPath(shortcut.target.c_str())) ||
        FAILED(hr = l->SetArguments(shortcut.arguments.c_str())) ||
        FAILED(hr = l->SetWorkingDirectory(shortcut.workingFolder.c_str())) ||
        FAILED(hr = l->SetIconLocation(shortcut.iconPath.c_str(), shortcut.iconIndex)))
        return hr;
    return l->SetDescription(description.c_str());
}

HRESULT SaveShortcut(const std::wstring& path, const Shortcut& shortcut) {
    ComApartment com;
    if (FAILED(com.Result()))
        return com.Result();
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    HRESULT hr = NewShellLink(shortcut, link);
    if (SUCCEEDED(hr))
        hr = link.get()->QueryInterface(__uuidof(IPersistFile), PutVoid(file));
    return SUCCEEDED(hr) ? file.get()->Save(path.c_str(), TRUE) : hr;
}

std::wstring DesktopFolder() {
    wchar_t* path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(on_demand::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path)) && path)
        folder = path;
    on_demand::CoTaskMemFree(path);
    return folder;
}

std::wstring DesktopShortcutPath(std::wstring_view title) {
    std::wstring folder = DesktopFolder();
    return folder.empty() ? folder : folder + L"\\" + SafeFileName(title) + L".lnk";
}

} // namespace velmora::platform
