#include "support/standin.h"

#include "client/icq_lite.h"
#include "tools/common/record_log.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

namespace velmora::test {
namespace {

// The recorded stand-ins that still run, opened with access: by id and creation time, as Wine hands
// freed ids out again at once, maybe to a test running in parallel.
std::vector<std::pair<DWORD, platform::UniqueHandle>> Running(const Record& record, DWORD access) {
    std::vector<std::pair<DWORD, platform::UniqueHandle>> running;
    auto pids = record.All(L"pid"), created = record.All(L"created");
    for (size_t i = 0; i < pids.size() && i < created.size(); ++i) {
        DWORD pid = std::wcstoul(pids[i].c_str(), nullptr, 10);
        platform::UniqueHandle process(
            OpenProcess(access | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (process && std::to_wstring(tools::CreationTime(process.get())) == created[i] &&
            WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
            running.emplace_back(pid, std::move(process));
    }
    return running;
}

} // namespace

StandinClient::StandinClient(const std::wstring& testName, const StandinOptions& options)
    : recordPath_(FreshTempDir(L"standin-" + testName) + L"\\record.txt") {
    const std::pair<const wchar_t*, std::wstring> env[] = {
        {L"VELMORA_STANDIN_RECORD", recordPath_},
        {L"VELMORA_STANDIN_WINDOW_DELAY_MS", std::to_wstring(options.windowDelayMs)},
        {L"VELMORA_STANDIN_NO_WINDOW", options.noWindow ? L"1" : L"0"},
        {L"VELMORA_STANDIN_LIFETIME_MS", std::to_wstring(options.lifetimeMs)},
        {L"VELMORA_STANDIN_EXIT_CODE", std::to_wstring(options.exitCode)},
        {L"VELMORA_STANDIN_WINDOW_KIND", options.windowKind}};
    for (const auto& [name, value] : env) {
        oldEnv_.emplace_back(name, tools::Environment(name));
        SetEnvironmentVariableW(name, value.c_str());
    }
}

StandinClient::~StandinClient() {
    for (auto& [pid, process] : Running(Read(), PROCESS_TERMINATE)) {
        TerminateProcess(process.get(), 98);
        WaitForSingleObject(process.get(), 5000);
    }
    for (const auto& [name, value] : oldEnv_)
        SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
}

bool StandinClient::CloseWindows() const {
    Record record = Read();
    for (const auto& [pid, process] : Running(record, 0))
        for (HWND hwnd : gui::TopWindows(pid))
            if (IsWindowVisible(hwnd))
                gui::Close(hwnd);
    return WaitForLine(L"exit", record.Count(L"pid"));
}

FocusBystander::FocusBystander(const std::wstring& testName)
    : recordPath_(FreshTempDir(L"bystander-" + testName) + L"\\record.txt") {
    SetEnvironmentVariableW(L"VELMORA_BYSTANDER_RECORD", recordPath_.c_str());
    process_ = ChildProcess::Start(BinDir() + L"\\focus_bystander.exe");
    SetEnvironmentVariableW(L"VELMORA_BYSTANDER_RECORD", nullptr);
    if (!WaitFor([&] { return Read().First(L"ready").has_value(); }) || Read().First(L"ready") != L"1" ||
        !(window_ = gui::FindTopWindow(process_.Id(), L"VelmoraFocusBystander", nullptr)) ||
        GetForegroundWindow() != window_) {
        window_ = nullptr;
        ADD_FAILURE() << "the focus bystander did not come up holding the foreground; record: "
                      << Read().Raw();
    }
}

bool FocusBystander::Close() {
    if (window_)
        gui::Close(window_);
    return WaitFor([&] { return Read().First(L"exit").has_value(); });
}

size_t CountProcesses(const std::wstring& exeName) {
    // INVALID_HANDLE_VALUE on failure, like a file handle.
    platform::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    EXPECT_TRUE(snapshot) << "no process snapshot, error " << GetLastError();
    size_t count = 0;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        count += _wcsicmp(entry.szExeFile, exeName.c_str()) == 0;
    return count;
}

void RecordUsers(const std::vector<RecordedUser>& users, const std::wstring& lastOwner) {
    Reg reg;
    for (const RecordedUser& user : users) {
        reg.WriteValue(L"Probe", L"", REG_SZ, std::wstring(icqlite::kOwnersKey) + L"\\" + user.number,
                       HKEY_CURRENT_USER);
        std::wstring key = icqlite::UserKey(user.number);
        if (user.lastStatus)
            reg.WriteValue(L"LastStatus", static_cast<int32_t>(*user.lastStatus), REG_DWORD, key,
                           HKEY_LOCAL_MACHINE, icqlite::kClientView);
        for (const auto& [name, text] : user.messages)
            reg.WriteValue(name, text, REG_SZ, key, HKEY_LOCAL_MACHINE, icqlite::kClientView);
    }
    if (!lastOwner.empty())
        reg.WriteValue(L"LastOwner", lastOwner, REG_DWORD, icqlite::kOwnersKey, HKEY_CURRENT_USER);
}

StandinInstall::StandinInstall() {
    Reg reg;
    reg.DeleteKey(icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View64);
    EXPECT_EQ(reg.WriteValueChecked(L"", StandinClient::ExePath(), REG_SZ, icqlite::kAppPathsKey,
                                    HKEY_LOCAL_MACHINE, RegView::View32),
              ERROR_SUCCESS)
        << "could not install the stand-in client";
    icqlite::ResetExePathCache();
}

StandinInstall::~StandinInstall() {
    Reg().DeleteKey(icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
    icqlite::ResetExePathCache();
}

} // namespace velmora::test
