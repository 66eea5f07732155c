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
// up, and the user would wait for it in vain. (0 is left alone: a client may hand over to another
// of its instances and end.)
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

void Starter::StartICQ(const std::wstring& icqFilePath, bool directStart) {
    err::Trap(
        L"clsStarter.StartICQ(strICQFilePath,bolDirectStart)", err::Args(icqFilePath, directStart), [&] {
            CheckPath(icqFilePath);
            // The client reads the user and status only when it starts: a running one would ignore
            // what is written now.
            if (!icqlite::MultiInstanceEnable() && platform::IsProgramRunning(icqFilePath))
                err::Raise(err::ErrorRecord{ERR_CLIENT_ALREADY_RUNNING, err::DefaultSource(),
                                            L"ICQ Lite is already running. Please close it first, then "
                                            L"start it again here."});
            CheckWritten(
                {icqlite::SetLastUser(number_), std::wstring(L"HKEY_CURRENT_USER\\") + icqlite::kOwnersKey},
                L"LastOwner");
            CheckWritten(icqlite::WriteMachineValue(L"LastStatus", RegData(status_), REG_DWORD, userKey_),
                         L"LastStatus");
            WriteStatusText();

            // Minimized and without taking the focus from what the user is doing.
            StartedClient client = ShellTohWnd(icqFilePath, SW_SHOWMINNOACTIVE,
                                               directStart ? kWindowWait : std::chrono::milliseconds::zero());
            if (!directStart)
                return;
            HANDLE process = client.process.process.get();
            if (!client.window || !platform::PauseWhileRunning(process, client.startedAt + kLoginPause)) {
                CheckNotEnded(process);
                return; // no window in time: the client runs, the user logs in by hand
            }
            // The window that is first now: a splash window may have made way for the login window.
            HWND login = platform::FindProcessWindow(client.process.processId);
            platform::PressEnter(login ? login : client.window);
        });
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

Starter::StartedClient Starter::ShellTohWnd(const std::wstring& path, int32_t appMode,
                                            std::chrono::milliseconds windowWait) {
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
        client.window =
            windowWait > std::chrono::milliseconds::zero()
                ? platform::WaitForProcessWindow(client.process.process.get(), client.process.processId,
                                                 client.startedAt + windowWait)
                : platform::FindProcessWindow(client.process.processId);
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
            CheckWritten(icqlite::WriteMachineValue(valueName, RegData(*message_), REG_SZ, userKey_), valueName);
    });
}

} // namespace velmora
