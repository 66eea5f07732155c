// Shared helpers of the test programs: scratch registry keys, folders, waiting with a timeout,
// starting and ending processes.
#pragma once
#include "platform/handles.h"
#include "settings/reg.h"

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// A registry key that is deleted, with everything below it, when the test starts and ends.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::wstring path, RegView view = RegView::Native);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::wstring& path() const { return path_; }
    HKEY root() const { return root_; }
    void Clear() const;

private:
    HKEY root_;
    std::wstring path_;
    RegView view_;
};


// The folder of the running test exe; velmora.exe, the stand-in client and Languages\ are there.
std::wstring BinDir();
// A new, empty folder for one test (removed first if it exists).
std::wstring FreshTempDir(const std::wstring& name);
void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// For failure messages: UTF-8, with control characters other than line breaks shown as '?'.
std::string Narrow(std::wstring text);

// Polls condition every few milliseconds until it holds or timeout passes; true when it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A started process; killed at the end of the test if it is still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&&) = default;
    ChildProcess& operator=(ChildProcess&&) = default;
    ~ChildProcess();
    static ChildProcess Start(const std::wstring& exe, const std::wstring& arguments = L"");
    bool Running() const;
    // Exit code, or -1 when it did not end within timeout.
    int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    DWORD Id() const { return info_.processId; }
    HANDLE Handle() const { return info_.process.get(); }

private:
    platform::UniqueProcessInfo info_;
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

// Makes the recorder (tools/url_recorder) the machine's handler of URL schemes ("https", "mailto")
// for a test, and puts the old handlers back afterwards. Programs started from now on find the
// recorder's file through the environment.
class UrlRecorder {
public:
    explicit UrlRecorder(std::vector<std::wstring> schemes);
    ~UrlRecorder();
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;
    // The URL the shell handed over last (waited for up to timeout, while this thread's windows
    // are served); "" when none came. Each call takes the URL: the next one waits for a new one.
    std::wstring Take(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    std::vector<std::pair<std::wstring, RegData>> old_; // each handler's key and what it held
    std::wstring record_;
};

// What a shipped language file (Languages\<language>.ini beside the test) makes of a key: the key
// itself when it has no entry.
std::wstring Shipped(const wchar_t* language, const wchar_t* key);

// The registry keys Velmora and the client use, so that a test can start from a clean state.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Ardentix\\Velmora\\Settings";
inline constexpr wchar_t kSettingsRootKey[] = L"Software\\Ardentix";

} // namespace velmora::test
