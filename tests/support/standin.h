// The test side of the stand-in client (started by velmora.exe or the launcher, configured through
// the environment it inherits) and the focus bystander, and the client's data they play against.
#pragma once
#include "support/support.h"

namespace velmora::test {

// How the stand-in client behaves when it is started.
struct StandinOptions {
    unsigned windowDelayMs = 0;
    bool noWindow = false;
    unsigned lifetimeMs = 30000;
    unsigned exitCode = 0;               // when it ends after its lifetime
    std::wstring windowKind = L"dialog"; // or "button", "keys"
};

// Prepares the stand-in for the next start: a fresh record file and its environment variables (the
// old ones come back at the end, and every stand-in that recorded into the file and still runs ends).
class StandinClient {
public:
    explicit StandinClient(const std::wstring& testName, const StandinOptions& options = {});
    ~StandinClient();
    StandinClient(const StandinClient&) = delete;
    StandinClient& operator=(const StandinClient&) = delete;

    static std::wstring ExePath() { return BinDir() + L"\\standin_client.exe"; }
    const std::wstring& RecordPath() const { return recordPath_; }
    Record Read() const { return Record::Load(recordPath_); }
    // Waits until the record holds at least count lines called name.
    bool WaitForLine(const std::wstring& name, size_t count = 1) const {
        return WaitFor([&] { return Read().Count(name) >= count; });
    }
    // Closes every recorded stand-in's windows and waits for each one's exit record: what was posted
    // to it before is then handled and recorded. False when one did not exit in time.
    bool CloseWindows() const;

private:
    std::wstring recordPath_;
    std::vector<std::pair<const wchar_t*, std::optional<std::wstring>>> oldEnv_;
};

// A window of another process that holds the foreground and records every key message,
// deactivation and focus loss it gets as "input".
class FocusBystander {
public:
    explicit FocusBystander(const std::wstring& testName);
    bool Ready() const { return window_ != nullptr; } // false (and a failure): not holding the foreground
    HWND Window() const { return window_; }
    Record Read() const { return Record::Load(recordPath_); }
    bool Close(); // closes its window and waits for its exit record, as CloseWindows above

private:
    std::wstring recordPath_;
    ChildProcess process_;
    HWND window_ = nullptr;
};

// How many processes run an exe of that file name (e.g. L"standin_client.exe").
size_t CountProcesses(const std::wstring& exeName);

// A user as the client records it: a NewOwners subkey, and in the client's view its last status
// (when given) and status messages.
struct RecordedUser {
    std::wstring number;
    std::optional<DWORD> lastStatus;
    std::vector<std::pair<std::wstring, std::wstring>> messages; // value name, text
};
// Records the users and, when not empty, the last owner, as the client would.
void RecordUsers(const std::vector<RecordedUser>& users, const std::wstring& lastOwner);

// Makes the stand-in the installed client: its path as the App Paths entry of ICQLite.exe in the
// 32-bit view (where the 32-bit client's installer writes it). The entry is removed at the end.
struct StandinInstall {
    StandinInstall();
    ~StandinInstall();
};

} // namespace velmora::test
