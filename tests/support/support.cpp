#include "support/support.h"

#include "platform/com.h"
#include "platform/process.h"
#include "textfiles/file.h"
#include "textfiles/ini_file.h"

#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>

namespace velmora::test {

ScratchKey::ScratchKey(HKEY root, std::wstring path, RegView view)
    : root_(root), path_(std::move(path)), view_(view) {
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

std::wstring FreshTempDir(const std::wstring& name) {
    std::wstring dir = (std::filesystem::temp_directory_path() / (L"velmora-test-" + name)).wstring();
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void RemoveTree(const std::wstring& path) {
    std::error_code ignored; // what cannot be removed now is removed by the next FreshTempDir
    std::filesystem::remove_all(path, ignored);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    platform::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create file, error " << GetLastError();
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Shares writing: the record files are read while their programs write them.
std::string ReadBytes(const std::wstring& path) {
    platform::UniqueFileHandle file(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    for (DWORD read = 0; file && ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0;)
        bytes.append(buffer, read);
    return bytes;
}

std::string Narrow(std::wstring text) {
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return c < 32 && c != L'\r' && c != L'\n'; }, L'?');
    const int length = static_cast<int>(text.size());
    std::string bytes(WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr),
                      '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()),
                        nullptr, nullptr);
    return bytes;
}

ChildProcess::~ChildProcess() {
    if (Running() && TerminateProcess(Handle(), 99))
        WaitForSingleObject(Handle(), 5000);
}

ChildProcess ChildProcess::Start(const std::wstring& exe, const std::wstring& arguments) {
    ChildProcess child;
    DWORD error = 0;
    child.info_ =
        platform::StartProcess(exe, platform::QuoteArgument(exe) + L" " + arguments, SW_SHOWNORMAL, error);
    EXPECT_TRUE(child.info_.process) << "could not start the process, error " << error;
    return child;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
    DWORD code = 0;
    if (!info_.process || WaitForSingleObject(Handle(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return -1;
    GetExitCodeProcess(Handle(), &code);
    return static_cast<int>(code);
}

Record Record::Load(const std::wstring& path) {
    Record record;
    std::string bytes = ReadBytes(path);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    text.resize(text.rfind(L'\n') + 1); // without a line still being written
    record.raw_ = Narrow(text);
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        size_t eq = std::min(text.find(L'=', start), end);
        std::wstring value;
        for (size_t i = eq + 1; i < end; ++i) {
            wchar_t c = text[i];
            if (c == L'\\' && ++i < end)
                c = text[i] == L'r' ? L'\r' : text[i] == L'n' ? L'\n' : text[i];
            value += c;
        }
        record.lines_.emplace_back(text.substr(start, eq - start), value);
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
    auto all = All(name);
    return all.empty() ? std::nullopt : std::optional(all[0]);
}

std::optional<long long> Record::Number(const std::wstring& name) const {
    std::wstring text = First(name).value_or(L"");
    wchar_t* end = nullptr;
    long long value = std::wcstoll(text.c_str(), &end, 10);
    return text.empty() || *end ? std::nullopt : std::optional(value);
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
    for (const auto& [key, old] : old_)
        if (old.IsEmpty())
            reg.DeleteKey(key, HKEY_LOCAL_MACHINE);
        else
            reg.WriteValue(L"", old, REG_SZ, key, HKEY_LOCAL_MACHINE);
    SetEnvironmentVariableW(L"VELMORA_URL_RECORD", nullptr);
}

std::wstring UrlRecorder::Take(std::chrono::milliseconds timeout) {
    std::vector<std::wstring> lines;
    WaitFor(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            return !(lines = Record::Load(record_).All(L"commandline")).empty();
        },
        timeout);
    DeleteFileW(record_.c_str());
    // The recorder's command line: "...url_recorder.exe" "<url>".
    std::wstring line = lines.empty() ? L"" : lines.back();
    size_t open = line.find(L"\" \"");
    return open == std::wstring::npos ? line : line.substr(open + 3, line.size() - open - 4);
}

std::wstring LinkFields(IShellLinkW* link) {
    wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"", icon[MAX_PATH] = L"",
            description[INFOTIPSIZE] = L"";
    std::wstring arguments(32768, L'\0');
    int index = -1;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments.data(), 32768);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &index);
    link->GetDescription(description, INFOTIPSIZE);
    return std::wstring(target) + L"|" + arguments.c_str() + L"|" + folder + L"|" + icon + L"," +
           std::to_wstring(index) + L"|" + description;
}

std::wstring LoadedLink(const std::wstring& path) {
    platform::ComApartment com;
    platform::ComPtr<IShellLinkW> link;
    platform::ComPtr<IPersistFile> file;
    if (FAILED(platform::on_demand::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                     __uuidof(IShellLinkW), platform::PutVoid(link))) ||
        FAILED(link.get()->QueryInterface(__uuidof(IPersistFile), platform::PutVoid(file))) ||
        FAILED(file.get()->Load(path.c_str(), STGM_READ)))
        return L"<not loaded>";
    return LinkFields(link.get());
}

std::wstring Shipped(const wchar_t* language, const wchar_t* key) {
    File file;
    IniFile ini(file);
    ini.SetINIPath(BinDir() + L"\\Languages\\" + language + L".ini");
    ini.ReadINI();
    return ini.ReadValue(L"Language", key, key);
}

} // namespace velmora::test
