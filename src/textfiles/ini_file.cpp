#include "textfiles/ini_file.h"

#include "errors/trap.h"
#include "textfiles/file.h"
#include "textfiles/ini_text.h"

namespace velmora {

void IniFile::ReadINI() {
    err::Trap(L"clsINIFile.ReadINI", err::NoArgs(), [&] {
        // Built aside first: a failure on the way leaves the previous text in place.
        std::wstring text = ini::NormalizeLineEnds(file_.OpenForInput(path_));
        body_ = std::move(text);
    });
}

std::wstring IniFile::ReadValue(const std::wstring& section, const std::wstring& key,
                                const std::wstring& defaultValue) const {
    return err::Trap(L"clsINIFile.ReadValue(strSection,strKey,strDefault)",
                     err::Args(section, key, defaultValue), [&] {
                         std::wstring_view result;
                         if (!body_.empty()) {
                             std::wstring_view sectionBody = GetSectionBody(body_, section);
                             if (!sectionBody.empty())
                                 result = GetKeyValue(sectionBody, key);
                         }
                         return result.empty() ? defaultValue : std::wstring(result);
                     });
}

std::wstring_view IniFile::GetSectionBody(std::wstring_view body, const std::wstring& section) const {
    return err::Trap(L"clsINIFile.GetSectionBody(strBody,strSection)", err::Args(body, section),
                     [&] { return ini::SectionBody(body, section); });
}

std::wstring_view IniFile::GetKeyValue(std::wstring_view sectionBody, const std::wstring& key) const {
    return err::Trap(L"clsINIFile.GetKeyValue(strSectionBody,strKey)", err::Args(sectionBody, key),
                     [&] { return ini::KeyValue(sectionBody, key); });
}

} // namespace velmora
