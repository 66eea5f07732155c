// The program's own settings: texts under one key in HKEY_CURRENT_USER. Three Booleans are loaded
// once at start-up, kept in memory and written back at shutdown; other values (language, window
// position) are read and written through ReadValue/WriteValue by the parts that own them.
#pragma once
#include "settings/reg.h"

#include <optional>
#include <string>

namespace velmora {

class Settings {
public:
    explicit Settings(const Reg& reg) : reg_(reg) {}

    void SetRegKey(std::wstring key) { regKey_ = std::move(key); }
    const std::wstring& RegKey() const { return regKey_; }

    // The stored text (a number stored as REG_DWORD as its decimal text), or defaultValue when the
    // value is missing, empty or not a text at all (a list).
    std::wstring ReadValue(const std::wstring& valueName, const std::wstring& defaultValue = L"") const;
    void WriteValue(const std::wstring& valueName, const std::wstring& value) const;
    void SaveSettings() const;
    void LoadSettings();

    bool ExtStatus() const { return extStatus_; }
    void SetExtStatus(bool value) { extStatus_ = value; }
    bool CloseAfter() const { return closeAfter_; }
    void SetCloseAfter(bool value) { closeAfter_ = value; }
    bool DirectLogin() const { return directLogin_; }
    void SetDirectLogin(bool value) { directLogin_ = value; }

    // How a stored Boolean reads: any whole or decimal number (0 is false) or the words True and
    // False in any letter case; nothing when the text is neither.
    static std::optional<bool> ParseBoolean(const std::wstring& text);

private:
    bool ReadBoolean(const std::wstring& valueName, const std::wstring& defaultText) const;

    const Reg& reg_;
    std::wstring regKey_;
    bool extStatus_ = false;
    bool closeAfter_ = false;
    bool directLogin_ = false;
};

} // namespace velmora
