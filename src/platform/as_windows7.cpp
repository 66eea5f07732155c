#include "platform/as_windows7.h"

#include "platform/handles.h"
#include "platform/module.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace velmora::platform::as_windows7 {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// DLL names are ASCII.
std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

std::string ReadFile(const std::wstring& path) {
    UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

struct Standin {
    bool on = false;
    std::wstring folder;
    std::set<std::string> exports; // "dll!function", lower case
};

// Read once, when the loader is first asked. A list that cannot be read leaves the switch on with
// nothing exported: every lookup then fails, which no test can miss.
const Standin& Current() {
    static const Standin standin = [] {
        Standin s;
        wchar_t folder[MAX_PATH];
        DWORD length = GetEnvironmentVariableW(L"VELMORA_TEST_WINDOWS7", folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return s;
        s.on = true;
        s.folder.assign(folder, length);
        std::string list = ReadFile(s.folder + L"\\windows7_exports.txt");
        for (size_t start = 0; start < list.size();) {
            size_t end = std::min(list.find('\n', start), list.size());
            std::string line = list.substr(start, end - start);
            line.erase(std::find(line.begin(), line.end(), '#'), line.end());
            std::erase_if(line, [](unsigned char c) { return std::isspace(c); });
            if (!line.empty())
                s.exports.insert(Lower(line));
            start = end + 1;
        }
        return s;
    }();
    return standin;
}

// Appends "what" as one line to the log of this exe; several processes may write at once.
void Note(const std::string& what) {
    std::wstring exe = ProgramPath();
    exe.erase(0, exe.find_last_of(L'\\') + 1);
    UniqueFileHandle log(CreateFileW((Current().folder + L"\\" + exe + L".log").c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
    std::string line = what + "\r\n";
    DWORD written = 0;
    if (log)
        WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace

bool Has(const wchar_t* dll, const char* function) {
    const Standin& standin = Current();
    if (!standin.on)
        return true;
    std::string name = Narrow(dll) + "!" + function;
    if (standin.exports.contains(Lower(name)))
        return true;
    Note("missing " + name);
    return false;
}

HMODULE LoadLibraryExW(const wchar_t* dll, DWORD flags) {
    constexpr DWORD kSearchFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                                   LOAD_LIBRARY_SEARCH_USER_DIRS | LOAD_LIBRARY_SEARCH_SYSTEM32 |
                                   LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
    if (Current().on && (flags & kSearchFlags)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ::LoadLibraryExW(dll, nullptr, flags);
}

void NoteFullPath(const wchar_t* dll) {
    if (Current().on)
        Note("loaded by full path " + Narrow(dll));
}

} // namespace velmora::platform::as_windows7
