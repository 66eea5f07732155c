#include "support/reg_tool.h"

#include "platform/handles.h"

#include <windows.h>

namespace velmora::test {

int RunRegTool(const std::wstring& arguments, std::string* output) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    platform::UniqueHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &sa, 0))
        return -1;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd.get();
    si.hStdError = writeEnd.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"reg.exe " + arguments;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return -1;
    platform::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();

    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    WaitForSingleObject(process.get(), 30000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    if (output)
        *output = text;
    return static_cast<int>(code);
}

} // namespace velmora::test
