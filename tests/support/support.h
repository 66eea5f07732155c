// Shared helpers of the test programs: scratch registry keys, folders, files, waiting with a
// timeout, processes, and the record files of the programs that play other processes.
#pragma once
#include "gui_driver/gui_driver.h"
#include "platform/handles.h"
#include "platform/module.h"
#include "settings/reg.h"

#include <shobjidl.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

using gui::WaitFor;

// A registry key that is deleted, with everything below it, when the test starts and ends.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::wstring path, RegView view = RegView::Native);
    ~ScratchKey() { Clear(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::wstring& path() const { return path_; }
    void Clear() const;

private:
    HKEY root_;
    std::wstring path_;
    RegView view_;
};

// A key whose DACL lets everybody read it and nobody write it, as a machine key looks to a user
// without elevation. The destructor opens it up again so that it can be deleted.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::wstring& path, RegView view = RegView::Native);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    RegView view_;
};

// The folder of the running test exe; velmora.exe, the test programs and Languages\ are there.
inline std::wstring BinDir() {
    return platform::ProgramFolder();
}
// A new, empty folder for one test (removed first if it exists).
std::wstring FreshTempDir(const std::wstring& name);
void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// For failure messages: UTF-8, with control characters other than line breaks shown as '?'.
std::string Narrow(std::wstring text);

// A started process; killed at the end of the test if it is still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&&) = default;
    ChildProcess& operator=(ChildProcess&&) = default;
    ~ChildProcess();
    static ChildProcess Start(const std::wstring& exe, const std::wstring& arguments = L"");
    bool Running() const { return info_.process && WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT; }
    int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20)); // exit code; -1: still running
    DWORD Id() const { return info_.processId; }
    HANDLE Handle() const { return info_.process.get(); }

private:
    platform::UniqueProcessInfo info_;
};

// One record file (format: tools/common/record_log.h) as it is now: its lines in order, unescaped.
class Record {
public:
    static Record Load(const std::wstring& path);
    std::vector<std::wstring> All(const std::wstring& name) const;
    std::optional<std::wstring> First(const std::wstring& name) const;
    size_t Count(const std::wstring& name) const { return All(name).size(); }
    std::optional<long long> Number(const std::wstring& name) const; // nullopt: missing or no number
    const std::string& Raw() const { return raw_; }                  // for failure messages

private:
    std::vector<std::pair<std::wstring, std::wstring>> lines_;
    std::string raw_;
};

// Makes tools/url_recorder the machine's handler of URL schemes ("https", "mailto") for a test, the old
// handlers back afterwards. Programs started from now on find its record through the environment.
class UrlRecorder {
public:
    explicit UrlRecorder(std::vector<std::wstring> schemes);
    ~UrlRecorder();
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;
    // The URL handed over last, waited for while this thread's windows are served; "" when none
    // came. Each call takes the URL: the next one waits for a new one.
    std::wstring Take(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    std::vector<std::pair<std::wstring, RegData>> old_; // each handler's key and what it held
    std::wstring record_;
};

// A shortcut as the shell's link object gives it: "target|arguments|folder|icon,index|description";
// a saved one read from its file ("<not loaded>" when it cannot be).
std::wstring LinkFields(IShellLinkW* link);
std::wstring LoadedLink(const std::wstring& path);

// What a shipped Languages\<language>.ini makes of a key: the key itself when it has no entry.
std::wstring Shipped(const wchar_t* language, const wchar_t* key);

inline constexpr wchar_t kSettingsKey[] = L"Software\\Ardentix\\Velmora\\Settings";

} // namespace velmora::test
