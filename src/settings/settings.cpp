#include "settings/settings.h"

#include "errors/trap.h"

#include <cwctype>

namespace velmora {

void NotSavedList::Add(std::wstring value, std::wstring key, uint32_t code) {
    if (details_.empty())
        code_ = code;
    details_.push_back(std::move(value));
    details_.push_back(std::move(key));
}

void NotSavedList::RaiseIfAny() const {
    if (details_.empty())
        return;
    err::ErrorRecord error{ERR_SETTINGS_NOT_SAVED, err::DefaultSource(), L"Settings could not be saved"};
    error.details = details_;
    error.details.push_back(std::to_wstring(code_));
    error.lastSystemError = code_;
    err::Raise(std::move(error));
}

// Every value under the key is a text; a list stored there by someone else cannot mean anything
// to the program and reads as missing rather than failing the caller.
std::wstring Settings::ReadValue(const std::wstring& valueName, const std::wstring& defaultValue) const {
    return err::Trap(L"clsSettings.ReadValue(strValueName,strDefault)", err::Args(valueName, defaultValue),
                     [&] {
                         RegData data = reg_.ReadValue(valueName, regKey_, HKEY_CURRENT_USER);
                         std::wstring text = data.IsList() ? std::wstring() : data.AsText();
                         return text.empty() ? defaultValue : text;
                     });
}

void Settings::WriteValue(const std::wstring& valueName, const std::wstring& value,
                          NotSavedList* notSaved) const {
    err::Trap(L"clsSettings.WriteValue(strValueName,strValue)", err::Args(valueName, value), [&] {
        LSTATUS rc = reg_.WriteValueChecked(valueName, value, REG_SZ, regKey_, HKEY_CURRENT_USER);
        if (rc != ERROR_SUCCESS && notSaved)
            notSaved->Add(valueName, L"HKEY_CURRENT_USER\\" + regKey_, static_cast<uint32_t>(rc));
    });
}

std::optional<bool> Settings::ParseBoolean(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t");
    size_t last = text.find_last_not_of(L" \t");
    if (first == std::wstring::npos)
        return std::nullopt;
    std::wstring word = text.substr(first, last - first + 1);
    std::wstring lower;
    for (wchar_t c : word)
        lower.push_back(static_cast<wchar_t>(std::towlower(c)));
    if (lower == L"true")
        return true;
    if (lower == L"false")
        return false;
    // A number: optional sign, digits with at most one decimal point, at least one digit.
    size_t i = 0;
    if (word[i] == L'+' || word[i] == L'-')
        ++i;
    bool digits = false, point = false, nonZero = false;
    for (; i < word.size(); ++i) {
        wchar_t c = word[i];
        if (c >= L'0' && c <= L'9') {
            digits = true;
            nonZero = nonZero || c != L'0';
        } else if ((c == L'.' || c == L',') && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return nonZero;
}

// A stored text that is no Boolean at all reads as the setting's default: one stray value must
// not keep the program from starting.
bool Settings::ReadBoolean(const std::wstring& valueName, const std::wstring& defaultText) const {
    if (auto value = ParseBoolean(ReadValue(valueName, defaultText)))
        return *value;
    return *ParseBoolean(defaultText);
}

void Settings::LoadSettings() {
    err::Trap(L"clsSettings.LoadSettings", err::NoArgs(), [&] {
        closeAfter_ = ReadBoolean(L"CloseAfterStart", L"0");
        directLogin_ = ReadBoolean(L"DirectLogin", L"-1");
        extStatus_ = ReadBoolean(L"ExtStatus", L"0");
    });
}

void Settings::SaveSettings(NotSavedList& notSaved) const {
    err::Trap(L"clsSettings.SaveSettings", err::NoArgs(), [&] {
        WriteValue(L"CloseAfterStart", closeAfter_ ? L"1" : L"0", &notSaved);
        WriteValue(L"DirectLogin", directLogin_ ? L"1" : L"0", &notSaved);
        WriteValue(L"ExtStatus", extStatus_ ? L"1" : L"0", &notSaved);
    });
}

} // namespace velmora
