#include "language/language_names.h"

#include <cwctype>

namespace velmora {

std::wstring LanguageForSystem(int32_t langId) {
    switch (langId) {
    case kLangGermanGermany:
        return L"Deutsch";
    case kLangHebrew:
        return L"Hebrew";
    default:
        return L"English";
    }
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
