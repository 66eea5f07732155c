#include "platform/shell_open.h"

#include "platform/module.h"
#include "platform/on_demand.h"

#include <thread>

namespace velmora::platform {
namespace {

void OpenNow(const std::wstring& target) noexcept {
    try {
        std::wstring folder = ProgramFolder();
        // The shell wants a single-threaded apartment for some handlers.
        HRESULT com = on_demand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        on_demand::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
        if (SUCCEEDED(com))
            on_demand::CoUninitialize();
    } catch (...) {
    }
}

} // namespace

void OpenInShell(std::wstring target) {
    try {
        std::thread([target = std::move(target)]() noexcept { OpenNow(target); }).detach();
    } catch (...) {
        // No thread to be had: the link does nothing, as a failing shell would.
    }
}

} // namespace velmora::platform
