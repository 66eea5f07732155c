#include "platform/process.h"

namespace velmora::platform {

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    for (auto it = argument.begin();; ++it) {
        size_t backslashes = 0;
        while (it != argument.end() && *it == L'\\')
            ++it, ++backslashes;
        if (it == argument.end()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (*it == L'"')
            quoted.append(backslashes * 2 + 1, L'\\');
        else
            quoted.append(backslashes, L'\\');
        quoted.push_back(*it);
    }
    quoted.push_back(L'"');
    return quoted;
}

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

} // namespace velmora::platform
