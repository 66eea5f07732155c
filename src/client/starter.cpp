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
void CheckWritten(LSTATUS result, const std::wstring& valueName, const wchar_t* rootName,
                  const std::wstring& key) {
    if (result == ERROR_SUCCESS)
        return;
    std::wstring where = std::wstring(rootName) + L"\\" + key;
    err::ErrorRecord error{ERR_CLIENT_VALUE_NOT_WRITTEN, err::DefaultSource(),
                           L"ICQ Lite was not started: " + valueName + L" could not be written to " + where};
    error.lastSystemError = static_cast<uint32_t>(result);
    error.details = {valueName, where, std::to_wstring(result)};
    err::Raise(std::move(error));
}

} // namespace

void Starter::SetUser(const std::wstring& icqNumber) {
    err::Trap(L"clsStarter.User(strICQNumber)", err::Args(icqNumber), [&] {
        number_ = icqNumber;
        userKey_ = icqlite::UserKey(icqNumber);
    });
}

const Reg& Starter::Registry() {
    if (!registry_)
        registry_ = std::make_unique<Reg>();
    return *registry_;
}

void Starter::StartICQ(const std::wstring& icqFilePath, bool directStart) {
    err::Trap(
        L"clsStarter.StartICQ(strICQFilePath,bolDirectStart)", err::Args(icqFilePath, directStart), [&] {
            const Reg& reg = Registry();
            CheckWritten(icqlite::SetLastUser(number_), L"LastOwner", L"HKEY_CURRENT_USER",
                         icqlite::kOwnersKey);
            CheckWritten(reg.WriteValueChecked(L"LastStatus", RegData(status_), REG_DWORD, userKey_,
                                               HKEY_LOCAL_MACHINE, icqlite::kClientView),
                         L"LastStatus", L"HKEY_LOCAL_MACHINE", userKey_);
            WriteStatusText();

            // Minimized and without taking the focus from what the user is doing.
            StartedClient client = ShellTohWnd(icqFilePath, SW_SHOWMINNOACTIVE,
                                               directStart ? kWindowWait : std::chrono::milliseconds::zero());
            if (!directStart || !client.window)
                return; // no window in time: the client runs, the user logs in by hand
            HANDLE process = client.process.process.get();
            if (!platform::PauseWhileRunning(process, client.startedAt + kLoginPause))
                return;
            // The window that is first now: a splash window may have made way for the login window.
            HWND login = platform::FindProcessWindow(client.process.processId);
            platform::PressEnter(login ? login : client.window);
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
                         return Registry().ReadValue(valueName, icqlite::UserKey(number), HKEY_LOCAL_MACHINE,
                                                     icqlite::kClientView);
                     });
}

Starter::StartedClient Starter::ShellTohWnd(const std::wstring& path, int32_t appMode,
                                            std::chrono::milliseconds windowWait) {
    return err::Trap(L"clsStarter.ShellTohWnd(strPath,appMode)", err::Args(path, appMode), [&] {
        if (path.empty())
            err::Raise(err::ERR_FILE_NOT_FOUND, L"File not found");
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
        CheckWritten(Registry().WriteValueChecked(valueName, RegData(message_), REG_SZ, userKey_,
                                                  HKEY_LOCAL_MACHINE, icqlite::kClientView),
                     valueName, L"HKEY_LOCAL_MACHINE", userKey_);
    });
}

} // namespace velmora
