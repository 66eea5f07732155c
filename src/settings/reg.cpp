#include "settings/reg.h"

#include "errors/err_trace.h"
#include "platform/handles.h"
#include "platform/process.h"

namespace velmora {
using platform::UniqueHKey;

namespace {

constexpr REGSAM kWriteAccess = KEY_ALL_ACCESS & 0x3F; // query, set, create subkey, enumerate, notify, link

// Characters of a string value: the bytes as UTF-16, without the terminating NULs a writer added.
std::wstring TextFromBytes(const std::vector<BYTE>& data, DWORD size) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

// Reads the raw data of a value; false when there is no such value.
bool QueryRaw(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data, DWORD& size) {
    size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        data.assign(size + sizeof(wchar_t), 0);
        DWORD got = size;
        LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_SUCCESS) {
            size = got;
            return true;
        }
        if (rc != ERROR_MORE_DATA)
            return false;
        size = got; // the value grew in between: try again with the new size
    }
    return false;
}

} // namespace

REGSAM Reg::ViewFlag(RegView view) {
    switch (view) {
    case RegView::View32:
        return KEY_WOW64_32KEY;
    case RegView::View64:
        return KEY_WOW64_64KEY;
    default:
        return 0;
    }
}

void Reg::TrimKeyPath(std::wstring& path) {
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
}

std::wstring Reg::ExpandEnvString(const std::wstring& text) {
    if (text.find(L'%') == std::wstring::npos)
        return text;
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring buffer(needed, L'\0');
    DWORD written = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), needed);
    if (written == 0 || written > needed)
        return text;
    buffer.resize(written - 1);
    return buffer;
}

std::wstring Reg::RootKeyName(HKEY root) {
    if (root == HKEY_CLASSES_ROOT)
        return L"HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER)
        return L"HKEY_Current_User";
    if (root == HKEY_LOCAL_MACHINE)
        return L"HKEY_LOCAL_MACHINE";
    if (root == HKEY_USERS)
        return L"HKEY_USERS";
    return L"";
}

RegData Reg::ReadValue(const std::wstring& valueName, std::wstring keyName, HKEY root, RegView view) const {
    TrimKeyPath(keyName);
    UniqueHKey key;
    if (!root ||
        RegOpenKeyExW(root, keyName.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), key.put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(key.get(), valueName, type, data, size))
        return {};
    switch (type) {
    case REG_SZ:
        return TextFromBytes(data, size);
    case REG_EXPAND_SZ:
        return ExpandEnvString(TextFromBytes(data, size));
    case REG_BINARY: {
        std::wstring text;
        text.reserve(size);
        for (DWORD i = 0; i < size; ++i)
            text.push_back(static_cast<wchar_t>(data[i]));
        return text;
    }
    case REG_DWORD: {
        if (size < sizeof(DWORD))
            return {};
        int32_t number;
        memcpy(&number, data.data(), sizeof(number));
        return number;
    }
    case REG_MULTI_SZ: {
        std::wstring all(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        // Drop the closing pair of NULs (a writer may have left only one of them).
        for (int i = 0; i < 2 && !all.empty() && all.back() == L'\0'; ++i)
            all.pop_back();
        std::vector<std::wstring> list;
        if (all.empty())
            return list;
        size_t start = 0;
        for (;;) {
            size_t nul = all.find(L'\0', start);
            list.push_back(all.substr(start, nul == std::wstring::npos ? std::wstring::npos : nul - start));
            if (nul == std::wstring::npos)
                break;
            start = nul + 1;
        }
        return list;
    }
    default:
        return {};
    }
}

LSTATUS Reg::WriteValueChecked(const std::wstring& valueName, const RegData& value, DWORD regType,
                               std::wstring keyName, HKEY root, RegView view) const {
    TrimKeyPath(keyName);
    // Conversion errors are the caller's errors and pass on before anything is touched.
    std::vector<BYTE> bytes;
    auto appendText = [&bytes](const std::wstring& text, size_t nuls) {
        auto* p = reinterpret_cast<const BYTE*>(text.c_str());
        bytes.insert(bytes.end(), p, p + text.size() * sizeof(wchar_t));
        bytes.insert(bytes.end(), nuls * sizeof(wchar_t), 0);
    };
    bool writes = true;
    switch (regType) {
    case REG_DWORD: {
        int32_t number = value.AsNumber();
        auto* p = reinterpret_cast<const BYTE*>(&number);
        bytes.assign(p, p + sizeof(number));
        break;
    }
    case REG_SZ:
    case REG_EXPAND_SZ:
        appendText(value.AsText(), 1);
        break;
    case REG_BINARY:
        for (wchar_t c : value.AsText())
            bytes.push_back(static_cast<BYTE>(c));
        break;
    case REG_MULTI_SZ: {
        auto list = value.AsList();
        for (const auto& item : list)
            appendText(item, 1);
        bytes.insert(bytes.end(), (list.empty() ? 2 : 1) * sizeof(wchar_t), 0);
        break;
    }
    default:
        writes = false;
    }

    UniqueHKey key;
    LSTATUS rc = root ? RegCreateKeyExW(root, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        kWriteAccess | ViewFlag(view), nullptr, key.put(), nullptr)
                      : ERROR_INVALID_HANDLE;
    if (rc != ERROR_SUCCESS || !writes)
        return rc;
    return RegSetValueExW(key.get(), valueName.c_str(), 0, regType, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

void Reg::WriteValue(const std::wstring& valueName, const RegData& value, DWORD regType, std::wstring keyName,
                     HKEY root, RegView view) const {
    (void)WriteValueChecked(valueName, value, regType, std::move(keyName), root, view);
}

LSTATUS Reg::DeleteValueChecked(const std::wstring& valueName, std::wstring keyName, HKEY root,
                                RegView view) const {
    TrimKeyPath(keyName);
    UniqueHKey key;
    LSTATUS rc = root ? RegCreateKeyExW(root, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        kWriteAccess | ViewFlag(view), nullptr, key.put(), nullptr)
                      : ERROR_INVALID_HANDLE;
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegDeleteValueW(key.get(), valueName.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

void Reg::DeleteValue(const std::wstring& valueName, std::wstring keyName, HKEY root, RegView view) const {
    (void)DeleteValueChecked(valueName, std::move(keyName), root, view);
}

void Reg::DeleteKey(std::wstring keyName, HKEY root, RegView view) const {
    TrimKeyPath(keyName);
    if (root)
        RegDeleteKeyExW(root, keyName.c_str(), ViewFlag(view), 0);
}

bool Reg::KeyExists(std::wstring keyName, HKEY root, RegView view) const {
    TrimKeyPath(keyName);
    UniqueHKey key;
    return root && RegOpenKeyExW(root, keyName.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), key.put()) ==
                       ERROR_SUCCESS;
}

std::wstring Reg::ExportCommandLine(HKEY root, std::wstring keyPath, const std::wstring& destFile) {
    std::wstring rootName = RootKeyName(root);
    TrimKeyPath(keyPath);
    if (destFile.find(L'"') != std::wstring::npos || keyPath.find(L'"') != std::wstring::npos)
        err::Raise(err::ERR_INVALID_CALL,
                   L"Invalid procedure call or argument: a double quote in a file name or key");
    return L"regedit /e \"" + destFile + L"\" \"" + rootName + L"\\" + keyPath + L"\"";
}

std::wstring Reg::ImportCommandLine(const std::wstring& srcFile) {
    if (srcFile.find(L'"') != std::wstring::npos)
        err::Raise(err::ERR_INVALID_CALL,
                   L"Invalid procedure call or argument: a double quote in a file name");
    // "/s" alone imports silently; an extra "/i" is refused by some registry editors (Wine's).
    return L"regedit /s \"" + srcFile + L"\"";
}

namespace {
void StartRegistryEditor(const std::wstring& commandLine) {
    DWORD error = 0;
    auto process = platform::StartProcess(L"", commandLine, SW_SHOWMINIMIZED, error);
    if (!process.process)
        err::RaiseSystem(err::ERR_FILE_NOT_FOUND, L"File not found: regedit", error);
}
} // namespace

void Reg::ExportNode(HKEY root, std::wstring keyPath, const std::wstring& destFile) const {
    StartRegistryEditor(ExportCommandLine(root, std::move(keyPath), destFile));
}

void Reg::ImportNode(const std::wstring& srcFile) const {
    StartRegistryEditor(ImportCommandLine(srcFile));
}

std::vector<std::wstring> Reg::EnumKeys(const std::wstring& keyName, HKEY root, RegView view) const {
    std::vector<std::wstring> list;
    UniqueHKey key;
    if (!root ||
        RegOpenKeyExW(root, keyName.c_str(), 0, kWriteAccess | ViewFlag(view), key.put()) != ERROR_SUCCESS)
        return list;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return list;
    for (DWORD i = 0; i < count; ++i) {
        std::wstring name(longest + 1, L'\0');
        DWORD length = longest + 1;
        if (RegEnumKeyExW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        name.resize(length);
        bool numeric = !name.empty() && name.find_first_not_of(L"0123456789") == std::wstring::npos;
        if (!numeric)
            continue;
        list.resize(i + 1);
        list[i] = std::move(name);
    }
    return list;
}

} // namespace velmora
