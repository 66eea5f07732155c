#include "platform/shell_open.h"

#include "platform/module.h"
#include "platform/on_demand.h"

#include <thread>

namespace velmora::platform {

DWORD OpenInShellNow(HWND owner, const std::wstring& target) {
    // The shell wants a single-threaded apartment for some handlers.
    HRESULT com = on_demand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    auto result = reinterpret_cast<INT_PTR>(on_demand::ShellExecuteW(owner, L"open", target.c_str(), nullptr,
                                                                     ProgramFolder().c_str(), SW_SHOWNORMAL));
    DWORD code = result > 32 ? 0 : GetLastError();
    if (SUCCEEDED(com))
        on_demand::CoUninitialize();
    return result > 32 ? 0 : (code ? code : ERROR_NO_ASSOCIATION);
}

void OpenInShell(std::wstring target) {
    try {
        std::thread([target = std::move(target)]() noexcept { OpenInShellNow(nullptr, target); }).detach();
    } catch (...) {
        // No thread to be had: the link does nothing, as a failing shell would.
    }
}

} // namespace velmora::platform
