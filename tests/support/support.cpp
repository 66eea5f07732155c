#include "support/support.h"

#include "gui_driver/gui_driver.h"

#include "platform/process.h"
#include "textfiles/file.h"
#include "textfiles/ini_file.h"

#include <sddl.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <thread>
#include <vector>

namespace velmora::test {

ScratchKey::ScratchKey(HKEY root, std::wstring path, RegView view)
    : root_(root), path_(std::move(path)), view_(view) {
    Clear();
}

ScratchKey::~ScratchKey() {
    Clear();
}

void ScratchKey::Clear() const {
    platform::UniqueHKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | Reg::ViewFlag(view_), key.put()) ==
        ERROR_SUCCESS) {
        RegDeleteTreeW(key.get(), nullptr);
        key.reset();
        RegDeleteKeyExW(root_, path_.c_str(), Reg::ViewFlag(view_), 0);
    }
}

namespace {
LSTATUS SetDacl(HKEY key, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr))
        return static_cast<LSTATUS>(GetLastError());
    LSTATUS rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    return rc;
}
} // namespace

ReadOnlyKey::ReadOnlyKey(HKEY root, const std::wstring& path, RegView view)
    : root_(root), path_(path), view_(view) {
    platform::UniqueHKey key;
    EXPECT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | Reg::ViewFlag(view),
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(SetDacl(key.get(), L"D:P(A;;KR;;;WD)"), ERROR_SUCCESS) << "cannot make the key read-only";
    // Proof that the platform enforces the DACL here, before a test relies on it.
    EXPECT_NE(Reg().WriteValueChecked(L"probe", L"x", REG_SZ, path, root, view), ERROR_SUCCESS)
        << "the read-only key was written";
}

ReadOnlyKey::~ReadOnlyKey() {
    platform::UniqueHKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, WRITE_DAC | Reg::ViewFlag(view_), key.put()) == ERROR_SUCCESS)
        SetDacl(key.get(), L"D:(A;;KA;;;WD)");
}

UrlRecorder::UrlRecorder(std::vector<std::wstring> schemes) : record_(FreshTempDir(L"url") + L"\\url.txt") {
    Reg reg;
    for (const std::wstring& scheme : schemes) {
        std::wstring key = L"Software\\Classes\\" + scheme + L"\\shell\\open\\command";
        old_.emplace_back(key, reg.ReadValue(L"", key, HKEY_LOCAL_MACHINE));
        // Wine takes the handler from the machine's classes, not the user's.
        EXPECT_EQ(reg.WriteValueChecked(L"", L"\"" + BinDir() + L"\\url_recorder.exe\" \"%1\"", REG_SZ, key,
                                        HKEY_LOCAL_MACHINE),
                  ERROR_SUCCESS);
    }
    SetEnvironmentVariableW(L"VELMORA_URL_RECORD", record_.c_str());
}

UrlRecorder::~UrlRecorder() {
    Reg reg;
    for (const auto& [key, old] : old_) {
        if (old.IsEmpty())
            reg.DeleteKey(key, HKEY_LOCAL_MACHINE);
        else
            reg.WriteValue(L"", old, REG_SZ, key, HKEY_LOCAL_MACHINE);
    }
    SetEnvironmentVariableW(L"VELMORA_URL_RECORD", nullptr);
}

std::wstring UrlRecorder::Take(std::chrono::milliseconds timeout) {
    std::string bytes;
    WaitFor(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            return !(bytes = ReadBytes(record_)).empty();
        },
        timeout);
    DeleteFileW(record_.c_str());
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring line(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), line.data(), n);
    // The recorder's command line: "...url_recorder.exe" "<url>".
    size_t open = line.find(L"\" \"");
    return open == std::wstring::npos ? line : line.substr(open + 3, line.size() - open - 4);
}

std::wstring Shipped(const wchar_t* language, const wchar_t* key) {
    File file;
    IniFile ini(file);
    ini.SetINIPath(BinDir() + L"\\Languages\\" + language + L".ini");
    ini.ReadINI();
    return ini.ReadValue(L"Language", key, key);
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

void RemoveTree(const std::wstring& path) {
    std::error_code ignored; // what cannot be removed now is removed by the next FreshTempDir
    std::filesystem::remove_all(path, ignored);
}

std::wstring FreshTempDir(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"velmora-test-" + name;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    platform::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create file, error " << GetLastError();
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadBytes(const std::wstring& path) {
    platform::UniqueFileHandle file(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

std::string Narrow(std::wstring text) {
    for (wchar_t& c : text)
        if (c < 32 && c != L'\r' && c != L'\n')
            c = L'?';
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return gui::WaitUntil(condition, timeout);
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(info_.process.get(), 99);
        WaitForSingleObject(info_.process.get(), 5000);
    }
}

ChildProcess ChildProcess::Start(const std::wstring& exe, const std::wstring& arguments) {
    ChildProcess child;
    std::wstring commandLine = platform::QuoteArgument(exe);
    if (!arguments.empty())
        commandLine += L" " + arguments;
    DWORD error = 0;
    child.info_ = platform::StartProcess(exe, commandLine, SW_SHOWNORMAL, error);
    EXPECT_TRUE(child.info_.process) << "could not start the process, error " << error;
    return child;
}

bool ChildProcess::Running() const {
    return info_.process && WaitForSingleObject(info_.process.get(), 0) == WAIT_TIMEOUT;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
    if (!info_.process)
        return -1;
    if (WaitForSingleObject(info_.process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.process.get(), &code);
    return static_cast<int>(code);
}

} // namespace velmora::test
