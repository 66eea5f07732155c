// Shell, COM and version-resource functions, loaded from the system folder on first use.
// Only the error report (ADO and program versions), its mail link, shortcuts and the jump list
// need them, and loading shell32, ole32 and oleaut32 with the program costs a noticeable part of
// its start-up time.
// When a DLL or function cannot be found, each call fails the way the real function reports
// failure (see each group below) and sets ERROR_PROC_NOT_FOUND as the last error.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace velmora::platform::on_demand {

// The address of a function in a system DLL, loaded from the system folder on first use; nullptr
// when the DLL or the function is missing (on an older Windows, say). The DLL stays loaded.
void* FindFunction(const wchar_t* dll, const char* name);
template <typename Fn> Fn Function(const wchar_t* dll, const char* name) {
    // Through the generic function pointer type, which any function pointer converts from cleanly.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(FindFunction(dll, name)));
}

// shell32; the result is SE_ERR_DLLNOTFOUND when it cannot be loaded.
HINSTANCE ShellExecuteW(HWND hwnd, const wchar_t* operation, const wchar_t* file, const wchar_t* parameters,
                        const wchar_t* directory, int showCommand);

// shell32 of Windows Vista (known folders) and 7 (application IDs); the HRESULT below when missing.
HRESULT SHGetKnownFolderPath(const GUID& folder, DWORD flags, HANDLE token, wchar_t** path);
HRESULT SetCurrentProcessExplicitAppUserModelID(const wchar_t* id);

// ole32 and oleaut32; HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND) when they cannot be loaded
// (CoUninitialize then does nothing, SysStringLen gives 0).
HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
void CoTaskMemFree(void* memory);
HRESULT CLSIDFromProgID(const wchar_t* progId, CLSID* clsid);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type);
HRESULT VariantClear(VARIANTARG* variant);
UINT SysStringLen(BSTR text);

// version; 0 or FALSE when it cannot be loaded.
DWORD GetFileVersionInfoSizeW(const wchar_t* path, DWORD* handle);
BOOL GetFileVersionInfoW(const wchar_t* path, DWORD handle, DWORD size, void* data);
BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* length);

} // namespace velmora::platform::on_demand
