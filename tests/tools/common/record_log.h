// The record file of the test programs that play other processes (stand-in client, focus bystander,
// URL recorder), named by an environment variable and read by the test while they run: UTF-16LE
// lines "name=value", each written in one piece, with a backslash, CR and LF in the value written as
// "\\", "\r" and "\n". "<missing>" tells a value that does not exist from an empty one.
#pragma once
#include "platform/handles.h"

#include <windows.h>

#include <bit>
#include <cstdlib>
#include <optional>
#include <string>

namespace velmora::tools {

inline constexpr wchar_t kMissing[] = L"<missing>";

// An environment variable; nullopt when it is not set.
inline std::optional<std::wstring> Environment(const wchar_t* name) {
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    if (value.empty())
        return std::nullopt;
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

inline DWORD EnvironmentNumber(const wchar_t* name, DWORD fallback) {
    std::wstring text = Environment(name).value_or(L"");
    return text.empty() ? fallback : std::wcstoul(text.c_str(), nullptr, 10);
}

// In 100 ns units. With its id, that names a process for good, as Windows hands freed ids out again.
inline long long CreationTime(HANDLE process) {
    FILETIME created{}, unused{};
    GetProcessTimes(process, &created, &unused, &unused, &unused);
    return std::bit_cast<long long>(created);
}

class RecordLog {
public:
    explicit RecordLog(const wchar_t* variable)
        : file_(CreateFileW(Environment(variable).value_or(L"").c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    explicit operator bool() const { return static_cast<bool>(file_); }

    void Write(const std::wstring& name, const std::wstring& value) {
        std::wstring line = name + L"=";
        for (wchar_t c : value)
            line += c == L'\\' ? L"\\\\" : c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
        line += L"\n";
        DWORD written = 0;
        WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
                  nullptr);
    }
    void Write(const std::wstring& name, long long number) { Write(name, std::to_wstring(number)); }
    // Milliseconds since this process was created, so that a test can compare what it did with
    // what this process saw without sharing a clock.
    void WriteTime(const std::wstring& name) {
        FILETIME now{};
        GetSystemTimePreciseAsFileTime(&now);
        Write(name, (std::bit_cast<long long>(now) - CreationTime(GetCurrentProcess())) / 10000);
    }

private:
    platform::UniqueFileHandle file_;
};

} // namespace velmora::tools
