// Windows 7 SP1 as it comes, for the tests: the program's fallbacks for what newer systems have
// only run there, and every test machine has the newer functions. Compiled in only with
// VELMORA_TEST_SWITCHES (the tested build; never a shipped exe), and on only when the environment
// variable VELMORA_TEST_WINDOWS7 names a folder holding windows7_exports.txt, a list of the
// functions Windows 7 SP1 exports ("dll!Function" per line, "#" starts a comment). Then the
// on-demand loader finds only what that list holds, and loading a DLL with a LOAD_LIBRARY_SEARCH_
// flag fails as it did before Windows 7's 2011 loader update. Each such answer is noted in
// <folder>\<exe name>.log, so that a test can tell which fallbacks ran.
#pragma once
#include <windows.h>

namespace velmora::platform::as_windows7 {

#ifdef VELMORA_TEST_SWITCHES
// Whether Windows 7 SP1 has the function; always true with the switch off.
bool Has(const wchar_t* dll, const char* function);
// LoadLibraryExW, which with the switch on refuses the search flags (ERROR_INVALID_PARAMETER).
HMODULE LoadLibraryExW(const wchar_t* dll, DWORD flags);
// Notes that the DLL was loaded by its full path.
void NoteFullPath(const wchar_t* dll);
#else
inline bool Has(const wchar_t*, const char*) {
    return true;
}
inline HMODULE LoadLibraryExW(const wchar_t* dll, DWORD flags) {
    return ::LoadLibraryExW(dll, nullptr, flags);
}
inline void NoteFullPath(const wchar_t*) {}
#endif

} // namespace velmora::platform::as_windows7
