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

    // Sets the caption of every control of window that carries a translation key (see
    // control_keys.h) and shows a caption. Controls without a key, and the window's own caption,
    // keep their text. A failure ends the pass at the control where it happened.
    void TranslateFormControls(HWND window) const;

private:
    Settings& settings_;
    const File& file_;
};

} // namespace velmora
