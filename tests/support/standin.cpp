#include "support/standin.h"

#include "client/icq_lite.h"
#include "gui_driver/gui_driver.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

namespace velmora::test {

namespace {

std::optional<std::wstring> GetEnv(const std::wstring& name) {
    DWORD needed = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring value(needed, L'\0');
    DWORD got = GetEnvironmentVariableW(name.c_str(), value.data(), needed);
    value.resize(got < needed ? got : 0);
    return value;
}

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::wstring Unescape(const std::wstring& value) {
    std::wstring text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != L'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        wchar_t next = value[++i];
        text += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
    }
    return text;
}

// A recorded stand-in, opened with access, or nothing when that process has ended. The id alone
// is not enough: Wine hands freed ids out again at once, maybe to a test running in parallel;
// the id together with the recorded creation time names one process for good.
platform::UniqueHandle OpenStandin(DWORD pid, const std::wstring& created, DWORD access) {
    platform::UniqueHandle process(OpenProcess(access | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    FILETIME creation{}, unused{};
    if (!process || !GetProcessTimes(process.get(), &creation, &unused, &unused, &unused))
        return {};
    unsigned long long time =
        (static_cast<unsigned long long>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    if (std::to_wstring(time) != created)
        return {};
    return process;
}

DWORD ToPid(const std::wstring& text) {
    return static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
}

} // namespace

ScopedEnv::ScopedEnv(std::wstring name, const std::optional<std::wstring>& value)
    : name_(std::move(name)), old_(GetEnv(name_)) {
    SetEnvironmentVariableW(name_.c_str(), value ? value->c_str() : nullptr);
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentVariableW(name_.c_str(), old_ ? old_->c_str() : nullptr);
}

Record Record::Load(const std::wstring& path) {
    Record record;
    record.raw_ = ReadBytes(path);
    size_t start = 0;
    while (start < record.raw_.size()) {
        size_t end = record.raw_.find('\n', start);
        if (end == std::string::npos)
            break; // a line still being written
        std::wstring line = FromUtf8(record.raw_.substr(start, end - start));
        start = end + 1;
        size_t eq = line.find(L'=');
        if (eq != std::wstring::npos)
            record.lines_.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
    }
    return record;
}

std::vector<std::wstring> Record::All(const std::wstring& name) const {
    std::vector<std::wstring> values;
    for (const auto& [n, v] : lines_)
        if (n == name)
            values.push_back(v);
    return values;
}

std::optional<std::wstring> Record::First(const std::wstring& name) const {
    for (const auto& [n, v] : lines_)
        if (n == name)
            return v;
    return std::nullopt;
}

std::optional<long long> Record::Number(const std::wstring& name) const {
    auto text = First(name);
    if (!text || text->empty())
        return std::nullopt;
    wchar_t* end = nullptr;
    long long value = std::wcstoll(text->c_str(), &end, 10);
    return *end == 0 ? std::optional<long long>(value) : std::nullopt;
}

StandinClient::StandinClient(const std::wstring& testName, const StandinOptions& options) {
    recordPath_ = FreshTempDir(L"standin-" + testName) + L"\\record.txt";
    auto set = [this](const wchar_t* name, std::optional<std::wstring> value) {
        env_.push_back(std::make_unique<ScopedEnv>(name, value));
    };
    set(L"VELMORA_STANDIN_RECORD", recordPath_);
    set(L"VELMORA_STANDIN_WINDOW_DELAY_MS", std::to_wstring(options.windowDelayMs));
    set(L"VELMORA_STANDIN_NO_WINDOW", options.noWindow ? std::optional<std::wstring>(L"1") : std::nullopt);
    set(L"VELMORA_STANDIN_LIFETIME_MS", std::to_wstring(options.lifetimeMs));
    set(L"VELMORA_STANDIN_EXIT_CODE", std::to_wstring(options.exitCode));
    set(L"VELMORA_STANDIN_WINDOW_KIND",
        options.windowKind.empty() ? std::nullopt : std::optional<std::wstring>(options.windowKind));
}

StandinClient::~StandinClient() {
    EndAll();
}

std::wstring StandinClient::ExePath() {
    return BinDir() + L"\\standin_client.exe";
}

bool StandinClient::WaitForLine(const std::wstring& name, size_t count,
                                std::chrono::milliseconds timeout) const {
    return WaitFor([&] { return Read().Count(name) >= count; }, timeout);
}

bool StandinClient::CloseWindows() const {
    Record record = Read();
    auto pids = record.All(L"pid");
    auto created = record.All(L"created");
    for (size_t i = 0; i < pids.size() && i < created.size(); ++i)
        for (HWND hwnd : OpenStandin(ToPid(pids[i]), created[i], 0) ? gui::TopWindows(ToPid(pids[i]))
                                                                    : std::vector<HWND>())
            if (IsWindowVisible(hwnd))
                gui::Close(hwnd);
    return WaitForLine(L"exit", pids.size());
}

void StandinClient::EndAll() const {
    Record record = Read();
    auto pids = record.All(L"pid");
    auto created = record.All(L"created");
    for (size_t i = 0; i < pids.size() && i < created.size(); ++i) {
        auto process = OpenStandin(ToPid(pids[i]), created[i], PROCESS_TERMINATE | SYNCHRONIZE);
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.get(), 98);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

FocusBystander::FocusBystander(const std::wstring& testName) {
    recordPath_ = FreshTempDir(L"bystander-" + testName) + L"\\record.txt";
    ScopedEnv record(L"VELMORA_BYSTANDER_RECORD", recordPath_);
    process_ = ChildProcess::Start(BinDir() + L"\\focus_bystander.exe");
    if (!WaitFor([&] { return Read().First(L"focus").has_value(); })) {
        ADD_FAILURE() << "the focus bystander did not come up; record: " << Read().Raw();
        return;
    }
    HWND window = gui::FindTopWindow(process_.Id(), L"VelmoraFocusBystander", nullptr);
    if (!window || GetForegroundWindow() != window) {
        ADD_FAILURE() << "the focus bystander's window " << window << " is not the foreground window "
                      << GetForegroundWindow() << "; record: " << Read().Raw();
        return;
    }
    window_ = window;
}

bool FocusBystander::Close() {
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitFor([&] { return Read().First(L"exit").has_value(); });
}

size_t CountProcesses(const std::wstring& exeName) {
    // INVALID_HANDLE_VALUE on failure, like a file handle.
    platform::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        ADD_FAILURE() << "no process snapshot, error " << GetLastError();
        return 0;
    }
    size_t count = 0;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        count += _wcsicmp(entry.szExeFile, exeName.c_str()) == 0 ? 1 : 0;
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
    Reg reg;
    reg.DeleteKey(icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
    icqlite::ResetExePathCache();
}

} // namespace velmora::test
