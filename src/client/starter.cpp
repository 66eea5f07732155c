#include "client/starter.h"

#include "client/icq_lite.h"
#include "client/status.h"
#include "errors/trap.h"
#include "platform/process.h"

#include <algorithm>

namespace velmora {
namespace {

// The client would start with the old user, status or message while the user believes the new
// ones were applied: raise an error for the user that names the value, where it lives and the
// system's code, and start nothing. The message is made where it is shown.
void CheckWritten(const icqlite::WriteResult& result, const std::wstring& valueName) {
    if (result.code == ERROR_SUCCESS)
        return;
    err::ErrorRecord error{ERR_CLIENT_VALUE_NOT_WRITTEN, err::DefaultSource(),
                           L"ICQ Lite was not started: " + valueName + L" could not be written to " +
                               result.where};
    error.lastSystemError = static_cast<uint32_t>(result.code);
    error.details = {valueName, result.where, std::to_wstring(result.code)};
    err::Raise(std::move(error));
}

// A client that ended during the direct-login wait with an exit code other than 0 did not come
// up, and the user would wait for it in vain. (0 only means that the login was not done: a client
// may hand over to another of its instances and end.)
void CheckNotEnded(HANDLE process) {
    std::optional<DWORD> code = platform::ExitCodeIfEnded(process);
    if (!code || *code == 0)
        return;
    err::ErrorRecord error{ERR_CLIENT_ENDED_AT_START, err::DefaultSource(),
                           L"ICQ Lite ended right after it was started (exit code " + std::to_wstring(*code) +
                               L")"};
    error.details = {std::to_wstring(*code)};
    err::Raise(std::move(error));
}

} // namespace

void Starter::SetUser(const std::wstring& icqNumber) {
    err::Trap(L"clsStarter.User(strICQNumber)", err::Args(icqNumber), [&] {
        number_ = icqNumber;
        userKey_ = icqlite::UserKey(icqNumber);
    });
}

LoginOutcome Starter::StartICQ(const std::wstring& icqFilePath, bool directStart, const ClientWait& wait) {
    return err::Trap(
        L"clsStarter.StartICQ(strICQFilePath,bolDirectStart)", err::Args(icqFilePath, directStart), [&] {
            CheckPath(icqFilePath);
            // The client reads the user and status only when it starts: a running one would ignore
            // what is written now.
            if (!icqlite::MultiInstanceEnable() && platform::IsProgramRunning(icqFilePath))
                err::Raise(err::ErrorRecord{ERR_CLIENT_ALREADY_RUNNING, err::DefaultSource(),
                                            L"ICQ Lite is already running. Please close it first, then "
                                            L"start it again here."});
            WriteChoice();
            // Minimized and without taking the focus from what the user is doing.
            StartedClient client = ShellTohWnd(icqFilePath, SW_SHOWMINNOACTIVE);
            return directStart ? LogIn(client, wait) : LoginOutcome::NotAsked;
        });
}

// The user's own values first and "LastOwner" last: until "LastOwner" names the user, the client
// still starts as the previous one with that one's values. And when a later value is refused, the
// ones written already are put back: a start either hands over the whole choice or changes nothing.
void Starter::WriteChoice() {
    const std::wstring messageValue = StatusValue(status_);
    std::vector<std::wstring> names{L"LastStatus"};
    if (!messageValue.empty())
        names.push_back(messageValue);
    icqlite::MachineValues before = icqlite::SaveMachineValues(userKey_, names);
    try {
        CheckWritten(icqlite::WriteMachineValue(L"LastStatus", RegData(status_), REG_DWORD, userKey_),
                     L"LastStatus");
        WriteStatusText();
        CheckWritten(
            {icqlite::SetLastUser(number_), std::wstring(L"HKEY_CURRENT_USER\\") + icqlite::kOwnersKey},
            L"LastOwner");
    } catch (...) {
        icqlite::RestoreMachineValues(before);
        throw;
    }
}

// Direct login: waits for the client's login window, then presses Enter in it once, after the
// login pause. Only the client's own window is ever pressed in; without one nothing is.
LoginOutcome Starter::LogIn(const StartedClient& client, const ClientWait& wait) {
    HANDLE process = client.process.process.get();
    const DWORD pid = client.process.processId;
    const auto deadline = client.startedAt + windowWait_;
    constexpr auto kPoll = std::chrono::milliseconds(25);
    HWND window = nullptr;
    // Right after the start the client has no window yet; once it has gone idle for the first time
    // it has handled the messages that created its first windows.
    while (!(window = platform::FindProcessWindow(pid)) || !platform::HasGoneIdle(process)) {
        if (platform::HasEnded(process)) {
            CheckNotEnded(process);
            return LoginOutcome::NoWindow;
        }
        auto now = platform::Clock::now();
        if (now >= deadline)
            return LoginOutcome::NoWindow;
        if (wait(process, std::min(deadline, now + kPoll)))
            return LoginOutcome::Cancelled;
    }
    const auto pressAt = client.startedAt + kLoginPause;
    while (platform::Clock::now() < pressAt)
        if (wait(process, pressAt))
            return LoginOutcome::Cancelled;
    if (platform::HasEnded(process)) {
        CheckNotEnded(process);
        return LoginOutcome::NoWindow;
    }
    // The window that is first now: a splash window may have made way for the login window.
    HWND login = platform::FindProcessWindow(pid);
    return platform::PressEnter(login ? login : window) == platform::EnterDelivery::None
               ? LoginOutcome::NoWindow
               : LoginOutcome::Pressed;
}

bool Starter::WaitWithoutWindows(HANDLE process, platform::Clock::time_point until) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - platform::Clock::now()).count();
    if (left > 0)
        WaitForSingleObject(process, static_cast<DWORD>(left));
    return false;
}

// The client's exe must be a program file before anything is written for it; a path the system
// cannot take (too long, a folder, no file) is never handed to CreateProcessW.
void Starter::CheckPath(const std::wstring& path) {
    err::Trap(L"clsStarter.CheckPath(strPath)", err::Args(path), [&] {
        DWORD error = platform::CheckProgramFile(path);
        if (error == ERROR_SUCCESS)
            return;
        if (error == ERROR_PATH_NOT_FOUND)
            err::RaiseSystem(err::ERR_PATH_NOT_FOUND, L"Path not found", error);
        if (error == ERROR_BAD_EXE_FORMAT)
            err::RaiseSystem(err::ERR_INVALID_CALL, L"Invalid procedure call or argument", error);
        err::RaiseSystem(err::ERR_FILE_NOT_FOUND, L"File not found", error);
    });
}

RegData Starter::GetStatusText(const std::wstring& icqNumber, int32_t statusType) {
    return err::Trap(L"clsStarter.GetStatusText(strICQNumber,lngStatusType)",
                     err::Args(icqNumber, statusType), [&] {
                         std::wstring number = icqNumber;
                         std::erase(number, L'-');
                         std::wstring valueName = StatusValue(statusType);
                         if (valueName.empty())
                             return RegData();
                         RegData stored = icqlite::ReadMachineValue(valueName, icqlite::UserKey(number));
                         // A list is no message the box could show: none.
                         return stored.IsList() ? RegData() : stored;
                     });
}

Starter::StartedClient Starter::ShellTohWnd(const std::wstring& path, int32_t appMode) {
    return err::Trap(L"clsStarter.ShellTohWnd(strPath,appMode)", err::Args(path, appMode), [&] {
        StartedClient client;
        DWORD error = 0;
        // The path names the exe (no search along PATH, no shell) and, quoted, is the whole
        // command line: the client gets no arguments, and spaces in the path stay in its name.
        client.process =
            platform::StartProcess(path, L"\"" + path + L"\"", static_cast<WORD>(appMode), error);
        client.startedAt = platform::Clock::now();
        if (!client.process.process) {
            if (error == ERROR_FILE_NOT_FOUND)
                err::RaiseSystem(err::ERR_FILE_NOT_FOUND, L"File not found", error);
            if (error == ERROR_PATH_NOT_FOUND)
                err::RaiseSystem(err::ERR_PATH_NOT_FOUND, L"Path not found", error);
            err::RaiseSystem(err::ERR_INVALID_CALL, L"Invalid procedure call or argument", error);
        }
        return client;
    });
}

std::wstring Starter::StatusValue(int32_t statusType) {
    return err::Trap(L"clsStarter.StatusValue(lngStatusType)", err::Args(statusType),
                     [&] { return status::MessageValueName(statusType); });
}

void Starter::WriteStatusText() {
    err::Trap(L"clsStarter.SetStatusText", err::NoArgs(), [&] {
        std::wstring valueName = StatusValue(status_);
        if (valueName.empty())
            return; // Online and Invisible have no message: the stored ones stay as they are
        if (message_)
            CheckWritten(icqlite::WriteMachineValue(valueName, RegData(*message_), REG_SZ, userKey_),
                         valueName);
    });
}

} // namespace velmora
