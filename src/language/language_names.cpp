#include "language/language_names.h"

#include "platform/file_name.h"

#include <cwctype>
#include <utility>

namespace velmora {

// A language identifier is the primary language in its low ten bits and the country or script
// variant above them; only the primary language decides, so every variant finds its file.
std::wstring LanguageForSystem(int32_t langId) {
    // Primary language (LANG_GERMAN and its siblings in winnt.h) and the file that speaks it.
    constexpr std::pair<int32_t, std::wstring_view> kFiles[] = {
        {0x05, L"Czech"},   {0x07, L"Deutsch"}, {0x0A, L"Spanish"},   {0x0C, L"French"},
        {0x0D, L"Hebrew"},  {0x10, L"Italian"}, {0x15, L"Polish"},    {0x16, L"Portuguese"},
        {0x19, L"Russian"}, {0x1F, L"Turkish"}, {0x22, L"Ukrainian"},
    };
    for (const auto& [primary, file] : kFiles)
        if ((langId & 0x3FF) == primary)
            return std::wstring(file);
    return L"English";
}

bool IsLanguageName(std::wstring_view name) {
    return !name.empty() && platform::SafeFileName(name) == name;
}

// "*.ini" also matches names whose extension only starts with "ini" when the file system answers
// through short 8.3 names ("notes.inix" is NOTES~1.INI), so the extension is checked again here.
std::optional<std::wstring> LanguageNameFromFileName(std::wstring_view fileName) {
    constexpr std::wstring_view kExtension = L".ini";
    if (fileName.size() <= kExtension.size())
        return std::nullopt;
    std::wstring_view extension = fileName.substr(fileName.size() - kExtension.size());
    for (size_t i = 0; i < kExtension.size(); ++i)
        if (std::towlower(extension[i]) != kExtension[i])
            return std::nullopt;
    return std::wstring(fileName.substr(0, fileName.size() - kExtension.size()));
}

} // namespace velmora
