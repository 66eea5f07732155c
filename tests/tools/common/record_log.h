// The record file of the test programs that play other processes (the stand-in client, the focus
// bystander). The test that starts them names the file in an environment variable and reads it
// while they run, so every line is written in one piece and flushed at once.
//
// Format: UTF-8 lines "name=value". A backslash, CR and LF inside a value are written as "\\",
// "\r" and "\n", so one record is always one line. "<missing>" stands for a value that does not
// exist, which keeps it apart from an empty one.
#pragma once
#include "platform/handles.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace velmora::tools {

inline constexpr wchar_t kMissing[] = L"<missing>";

inline std::wstring EnvironmentText(const wchar_t* name) {
    DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring value(needed, L'\0');
    DWORD got = GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(got < needed ? got : 0);
    return value;
}

// A whole non-negative decimal number from the environment, or fallback when unset or malformed.
inline DWORD EnvironmentNumber(const wchar_t* name, DWORD fallback) {
    std::wstring text = EnvironmentText(name);
    wchar_t* end = nullptr;
    unsigned long value = std::wcstoul(text.c_str(), &end, 10);
    return text.empty() || *end || text.size() > 9 || !iswdigit(text[0]) ? fallback : value;
}

// Milliseconds since this process was created, so that a test can compare what it did with what
// this process saw without sharing a clock.
inline long long MillisecondsSinceCreation() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(now) - ticks(created)) / 10000;
}

class RecordLog {
public:
    explicit RecordLog(const std::wstring& path) {
        if (!path.empty())
            file_.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    bool IsOpen() const { return static_cast<bool>(file_); }

    void Write(const std::wstring& name, const std::wstring& value) {
        if (!IsOpen())
            return;
        std::wstring line = name + L"=";
        for (wchar_t c : value) {
            if (c == L'\\')
                line += L"\\\\";
            else if (c == L'\r')
                line += L"\\r";
            else if (c == L'\n')
                line += L"\\n";
            else
                line += c;
        }
        line += L"\n";
        int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                        nullptr, nullptr);
        std::string utf8(bytes, '\0');
        WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes,
                            nullptr, nullptr);
        DWORD written = 0;
        WriteFile(file_.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        FlushFileBuffers(file_.get());
    }
    void Write(const std::wstring& name, long long number) { Write(name, std::to_wstring(number)); }
    void WriteTime(const std::wstring& name) { Write(name, MillisecondsSinceCreation()); }

private:
    platform::UniqueFileHandle file_;
};

} // namespace velmora::tools
