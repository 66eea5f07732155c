// The user-interface language: chosen at start-up from the stored setting or the system language,
// and the one translation call every user-visible text goes through.
//
// A language is a file "<name>.ini" in the folder Languages\ beside the program, with one section
// [Language] whose keys are the program's English texts (language/keys.h lists them all). A
// missing folder, file, section or key shows the English text; nothing is ever created.
#pragma once
#include "textfiles/ini_file.h"

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

class Settings;
class File;
class NotSavedList;

// A language in the folder: its file name without ".ini", which is what the setting stores, and
// the name the file gives its language, which is what the user sees.
struct LanguageEntry {
    std::wstring file, name;
};

class Language {
public:
    // Chooses and loads the language: the stored "Language" setting, or on the first start the
    // one that suits the system's language. Failures are reported at once, not passed on, so that
    // start-up goes on in English.
    Language(Settings& settings, const File& file);
    // The same with another languages folder (ending in a backslash); for tests.
    Language(Settings& settings, const File& file, std::wstring languagesFolder);

    const std::wstring& LanguagesFolder() const { return folder_; }

    // The current language's name ("" until one is loaded).
    const std::wstring& LanguageFile() const { return name_; }
    // Makes name the current language: reads its file and stores the name as the "Language"
    // setting (a failed write goes to notSaved when given). Setting the current name again does
    // nothing at all. The file need not exist; a name that is no language (see IsLanguageName)
    // means English.
    void SetLanguageFile(const std::wstring& name, NotSavedList* notSaved = nullptr);

    // The user's default language identifier, e.g. 0x0407 for German (Germany).
    static int32_t GetSystemLanguage();

    // The languages in the folder, sorted by their names as the user's locale sorts them: plain
    // "*.ini" files only, not folders, hidden or system files. A file that gives no name for its
    // language is listed under its file name.
    std::vector<LanguageEntry> GetAllLanguages() const;

    // The translation of key (an English text). Without a translation: defaultText, or the key
    // itself when defaultText is empty.
    std::wstring TranslateText(const std::wstring& key, const std::wstring& defaultText = L"") const;

    // Sets the caption of every control of window that carries a translation key (see
    // control_keys.h) and shows a caption. Controls without a key, and the window's own caption,
    // keep their text. A failure ends the pass at the control where it happened.
    void TranslateFormControls(HWND window) const;

private:
    void Initialize();
    void GetLanguage();

    Settings& settings_;
    const File& file_;
    std::wstring folder_;
    std::wstring name_;
    IniFile reader_;
};

} // namespace velmora
