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
#include <functional>
#include <optional>
#include <string>

namespace velmora {

// Errors for the user, each shown as a message made from its details:
// a client value could not be written, so the client was not started (details: the value's name,
// its key with the root, the system's error code);
inline constexpr int32_t ERR_CLIENT_VALUE_NOT_WRITTEN = err::vbObjectError + 4210;
// the client ended during the direct-login wait with an exit code other than 0 (details: the code);
inline constexpr int32_t ERR_CLIENT_ENDED_AT_START = err::vbObjectError + 4211;
// the client already runs and may not run twice, so nothing was written or started (no details).
inline constexpr int32_t ERR_CLIENT_ALREADY_RUNNING = err::vbObjectError + 4212;

// What became of the automatic login of a start.
enum class LoginOutcome {
    NotAsked,  // started without direct login
    Pressed,   // Enter was pressed in the client's login window
    NoWindow,  // the client showed no window in time (or ended without one): nothing pressed
    Cancelled, // the user gave up the wait: nothing pressed
};

// How the launcher waits for the client: until process ends or until passes, or until the user
// gives up (then true). The program's windows must keep answering meanwhile.
using ClientWait = std::function<bool(HANDLE process, platform::Clock::time_point until)>;

class Starter {
public:
    // How long direct login waits for the client's login window after the start (a slow machine, or
    // the client's own update check, can take many seconds), and the pause between the start and the
    // Enter press (the client needs a moment before its login button works).
    static constexpr std::chrono::milliseconds kWindowWait{60000};
    static constexpr std::chrono::milliseconds kLoginPause{700};

    // The ICQ number to start as, in the form the client's keys use (dashes already removed).
    void SetUser(const std::wstring& icqNumber);
    void SetStatus(int32_t status) { status_ = status; }
    void SetStatusText(const std::wstring& text) { message_ = text; }
    // The stored message of the status stays as it is: the user did not write one.
    void KeepStatusText() { message_.reset(); }
    // Another wait for the login window than kWindowWait (tests).
    void SetWindowWait(std::chrono::milliseconds wait) { windowWait_ = wait; }

    // Checks that icqFilePath names a program and that the client does not run already (unless it
    // may run twice), writes the choice into the client's values (all or none: on a failure the
    // values written are put back, nothing is started and ERR_CLIENT_VALUE_NOT_WRITTEN is raised),
    // starts the client, and with directStart waits for its login window through wait and presses
    // Enter in it once. Nothing is written when a check fails.
    LoginOutcome StartICQ(const std::wstring& icqFilePath, bool directStart = false,
                          const ClientWait& wait = WaitWithoutWindows);

    // The stored message of that user for that status; empty for statuses without a message.
    // Dashes in the number are ignored.
    RegData GetStatusText(const std::wstring& icqNumber, int32_t statusType);

    // A wait that serves no windows (for a caller that has none).
    static bool WaitWithoutWindows(HANDLE process, platform::Clock::time_point until);

private:
    struct StartedClient {
        platform::UniqueProcessInfo process;
        platform::Clock::time_point startedAt;
    };

    // Starts the exe at path (no shell, no search, no arguments) with show command appMode.
    StartedClient ShellTohWnd(const std::wstring& path, int32_t appMode);
    LoginOutcome LogIn(const StartedClient& client, const ClientWait& wait);
    void CheckPath(const std::wstring& path);
    void WriteChoice();
    std::wstring StatusValue(int32_t statusType);
    void WriteStatusText();

    std::wstring number_;
    int32_t status_ = 0;
    std::optional<std::wstring> message_ = std::wstring();
    std::wstring userKey_;
    std::chrono::milliseconds windowWait_ = kWindowWait;
};

} // namespace velmora
