#include "platform/on_demand.h"

#include "platform/as_windows7.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winver.h>

namespace velmora::platform::on_demand {
namespace {

constexpr wchar_t kShell32[] = L"shell32.dll";
constexpr wchar_t kOle32[] = L"ole32.dll";
constexpr wchar_t kOleAut32[] = L"oleaut32.dll";
constexpr wchar_t kVersion[] = L"version.dll";
const HRESULT kMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

template <typename Fn> Fn Find(const wchar_t* dll, const char* name) {
    return Function<Fn>(dll, name);
}

// The last error a missing function leaves, as a failing system call would.
template <typename T> T Missing(T result) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return result;
}

} // namespace

// Only from the system folder, so a DLL of the same name beside the program is never picked up.
// Windows 7 without its 2011 loader update refuses the search flag (ERROR_INVALID_PARAMETER): the
// full path from the system folder does the same there. In the tested build, the tests can make
// this a Windows 7 (platform/as_windows7.h), so that these fallbacks and the callers' run.
void* FindFunction(const wchar_t* dll, const char* name) {
    if (!as_windows7::Has(dll, name)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    HMODULE module = GetModuleHandleW(dll);
    if (!module)
        module = as_windows7::LoadLibraryExW(dll, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        wchar_t path[MAX_PATH];
        UINT n = GetSystemDirectoryW(path, MAX_PATH);
        if (n > 0 && n + 1 + wcslen(dll) < MAX_PATH) {
            wcscat_s(path, L"\\");
            wcscat_s(path, dll);
            module = LoadLibraryW(path);
            as_windows7::NoteFullPath(dll);
        }
    }
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

HINSTANCE ShellExecuteW(HWND hwnd, const wchar_t* operation, const wchar_t* file, const wchar_t* parameters,
                        const wchar_t* directory, int showCommand) {
    static const auto fn = Find<decltype(&::ShellExecuteW)>(kShell32, "ShellExecuteW");
    return fn ? fn(hwnd, operation, file, parameters, directory, showCommand)
              : Missing(reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND)));
}

HRESULT SHGetKnownFolderPath(const GUID& folder, DWORD flags, HANDLE token, wchar_t** path) {
    static const auto fn = Find<decltype(&::SHGetKnownFolderPath)>(kShell32, "SHGetKnownFolderPath");
    return fn ? fn(folder, flags, token, path) : Missing(kMissing);
}

HRESULT SetCurrentProcessExplicitAppUserModelID(const wchar_t* id) {
    static const auto fn = Find<decltype(&::SetCurrentProcessExplicitAppUserModelID)>(
        kShell32, "SetCurrentProcessExplicitAppUserModelID");
    return fn ? fn(id) : Missing(kMissing);
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
    static const auto fn = Find<decltype(&::CoInitializeEx)>(kOle32, "CoInitializeEx");
    return fn ? fn(reserved, model) : Missing(kMissing);
}

void CoUninitialize() {
    static const auto fn = Find<decltype(&::CoUninitialize)>(kOle32, "CoUninitialize");
    if (fn)
        fn();
}

void CoTaskMemFree(void* memory) {
    static const auto fn = Find<decltype(&::CoTaskMemFree)>(kOle32, "CoTaskMemFree");
    if (fn)
        fn(memory);
}

HRESULT CLSIDFromProgID(const wchar_t* progId, CLSID* clsid) {
    static const auto fn = Find<decltype(&::CLSIDFromProgID)>(kOle32, "CLSIDFromProgID");
    return fn ? fn(progId, clsid) : Missing(kMissing);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
    static const auto fn = Find<decltype(&::CoCreateInstance)>(kOle32, "CoCreateInstance");
    return fn ? fn(clsid, outer, context, iid, object) : Missing(kMissing);
}

HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type) {
    static const auto fn = Find<decltype(&::VariantChangeType)>(kOleAut32, "VariantChangeType");
    return fn ? fn(to, from, flags, type) : Missing(kMissing);
}

HRESULT VariantClear(VARIANTARG* variant) {
    static const auto fn = Find<decltype(&::VariantClear)>(kOleAut32, "VariantClear");
    return fn ? fn(variant) : Missing(kMissing);
}

UINT SysStringLen(BSTR text) {
    static const auto fn = Find<decltype(&::SysStringLen)>(kOleAut32, "SysStringLen");
    return fn ? fn(text) : Missing(0u);
}

DWORD GetFileVersionInfoSizeW(const wchar_t* path, DWORD* handle) {
    static const auto fn = Find<decltype(&::GetFileVersionInfoSizeW)>(kVersion, "GetFileVersionInfoSizeW");
    return fn ? fn(path, handle) : Missing(DWORD{0});
}

BOOL GetFileVersionInfoW(const wchar_t* path, DWORD handle, DWORD size, void* data) {
    static const auto fn = Find<decltype(&::GetFileVersionInfoW)>(kVersion, "GetFileVersionInfoW");
    return fn ? fn(path, handle, size, data) : Missing(FALSE);
}

BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* length) {
    static const auto fn = Find<decltype(&::VerQueryValueW)>(kVersion, "VerQueryValueW");
    return fn ? fn(block, subBlock, buffer, length) : Missing(FALSE);
}

} // namespace velmora::platform::on_demand
