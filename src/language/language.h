// The user-interface language: chosen at start-up from the stored setting or the system language,
// and the one translation call every user-visible text goes through.
#pragma once
#include <windows.h>
#include <string>

namespace velmora {

class Settings;
class File;

class Language {
public:
    Language(Settings& settings, const File& file);

    // The translation of key (an English text); the key itself when there is none.
    std::wstring TranslateText(const std::wstring& key, const std::wstring& defaultText = L"") const;

private:
    Settings& settings_;
    const File& file_;
};

} // namespace velmora
