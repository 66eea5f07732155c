// Stands in for the mail program in tests: the shell starts it for a mailto: link, and it writes
// its whole command line (UTF-8) to the file named by VELMORA_URL_RECORD, then ends.
#include "platform/handles.h"

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"VELMORA_URL_RECORD", path, MAX_PATH))
        return 1;
    const wchar_t* line = GetCommandLineW();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), bytes, nullptr, nullptr);
    text.resize(text.size() - 1);
    // Written under another name first, so that a reader never sees half a line.
    std::wstring partial = std::wstring(path) + L".part";
    {
        velmora::platform::UniqueFileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return 2;
        DWORD written = 0;
        WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    return MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
