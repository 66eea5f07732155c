#include "platform/process.h"

#include <tlhelp32.h>

namespace velmora::platform {

UniqueProcessInfo StartProcess(const std::wstring& applicationPath, std::wstring commandLine,
                               WORD showCommand, DWORD& error) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showCommand;
    PROCESS_INFORMATION pi{};
    UniqueProcessInfo result;
    error = ERROR_SUCCESS;
    if (!CreateProcessW(applicationPath.empty() ? nullptr : applicationPath.c_str(), commandLine.data(),
                        nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        error = GetLastError();
        return result;
    }
    result.process.reset(pi.hProcess);
    result.thread.reset(pi.hThread);
    result.processId = pi.dwProcessId;
    result.threadId = pi.dwThreadId;
    return result;
}

DWORD CheckProgramFile(const std::wstring& path) {
    if (path.size() >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    if (path.empty())
        return ERROR_FILE_NOT_FOUND;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_FILE_NOT_FOUND;
    // The loader's own judgement of the file's header, without starting it.
    DWORD kind = 0;
    if (!GetBinaryTypeW(path.c_str(), &kind)) {
        DWORD error = GetLastError();
        return error == ERROR_SUCCESS ? ERROR_BAD_EXE_FORMAT : error;
    }
    return ERROR_SUCCESS;
}

namespace {

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// The absolute path with every folder in its long form, so that a short (8.3) name and a relative
// path compare equal to the path the system reports for a running process.
std::wstring FullLongPath(const std::wstring& path) {
    wchar_t full[MAX_PATH], longer[MAX_PATH];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return path;
    DWORD m = GetLongPathNameW(full, longer, MAX_PATH);
    return m == 0 || m >= MAX_PATH ? std::wstring(full, n) : std::wstring(longer, m);
}

std::wstring ImagePath(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH * 2];
    DWORD size = ARRAYSIZE(path);
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size))
        return {};
    return std::wstring(path, size);
}

} // namespace

bool IsProgramRunning(const std::wstring& path) {
    const std::wstring wanted = FullLongPath(path);
    DWORD ownSession = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &ownSession);
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        DWORD session = 0;
        // A client in another user's session is not the one this user would start.
        if (entry.th32ProcessID == GetCurrentProcessId() ||
            !ProcessIdToSessionId(entry.th32ProcessID, &session) || session != ownSession)
            continue;
        std::wstring image = ImagePath(entry.th32ProcessID);
        if (!image.empty() && (SamePath(image, wanted) || (image.find(L'~') != std::wstring::npos &&
                                                           SamePath(FullLongPath(image), wanted))))
            return true;
    }
    return false;
}

std::optional<DWORD> ExitCodeIfEnded(HANDLE process) {
    DWORD code = 0;
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        return std::nullopt;
    return code;
}

bool WindowsIs64Bit() {
#ifdef _WIN64
    return true;
#else
    // A 32-bit program runs under WOW64 exactly on 64-bit Windows (x64 and ARM64 alike).
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

} // namespace velmora::platform
