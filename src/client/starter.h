// Starts the installed client as a chosen user with a chosen status and message. The client takes
// no arguments: the choice is handed over in its own registry values, then its exe is started
// minimized without taking the focus. With direct login the launcher then presses Enter in the
// client's login window, which logs in when the client has the password saved.
#pragma once
#include "errors/err_trace.h"
#include "platform/handles.h"
#include "platform/process_window.h"
#include "settings/reg.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// Errors for the user, each shown as a message made from its details:
// a client value could not be written, so the client was not started (details: the value's name,
// its key with the root, the system's error code);
inline constexpr int32_t ERR_CLIENT_VALUE_NOT_WRITTEN = err::vbObjectError + 4210;
// the client ended during the direct-login wait with a non-zero exit code (details: the code);
inline constexpr int32_t ERR_CLIENT_ENDED_AT_START = err::vbObjectError + 4211;
// the client already runs and may not run twice, so nothing was written or started (no details).
inline constexpr int32_t ERR_CLIENT_ALREADY_RUNNING = err::vbObjectError + 4212;

class Starter {
public:
    // How long direct login waits for the client's window after the start, and the pause between
    // the start and the Enter press (the client needs a moment before its login button works).
    static constexpr std::chrono::milliseconds kWindowWait{5000};
    static constexpr std::chrono::milliseconds kLoginPause{700};

    // The ICQ number to start as, in the form the client's keys use (dashes already removed).
    void SetUser(const std::wstring& icqNumber);
    void SetStatus(int32_t status) { status_ = status; }
    void SetStatusText(const std::wstring& text) { message_ = text; }
    // The stored message of the status stays as it is: the user did not write one.
    void KeepStatusText() { message_.reset(); }

    // Checks that icqFilePath names a program and that the client does not run already (unless it
    // may run twice), writes the choice into the client's values (all checked: on a failure
    // nothing is started and ERR_CLIENT_VALUE_NOT_WRITTEN is raised), starts the client, and with
    // directStart presses Enter in its login window once. Nothing is written when a check fails.
    void StartICQ(const std::wstring& icqFilePath, bool directStart = false);

    // The stored message of that user for that status; empty for statuses without a message.
    // Dashes in the number are ignored.
    RegData GetStatusText(const std::wstring& icqNumber, int32_t statusType);

private:
    struct StartedClient {
        platform::UniqueProcessInfo process;
        platform::Clock::time_point startedAt;
        HWND window = nullptr;
    };

    // Starts the exe at path (no shell, no search, no arguments) with show command appMode, and
    // looks for its top-level window for up to windowWait (once, without waiting, for zero).
    StartedClient ShellTohWnd(const std::wstring& path, int32_t appMode,
                              std::chrono::milliseconds windowWait);
    void CheckPath(const std::wstring& path);
    std::wstring StatusValue(int32_t statusType);
    void WriteStatusText();

    std::wstring number_;
    int32_t status_ = 0;
    std::optional<std::wstring> message_ = std::wstring();
    std::wstring userKey_;
};

} // namespace velmora
