#include "language/language.h"

#include "errors/trap.h"
#include "language/control_keys.h"
#include "language/keys.h"
#include "language/language_names.h"
#include "platform/handles.h"
#include "platform/module.h"
#include "settings/settings.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr wchar_t kSection[] = L"Language";
constexpr wchar_t kSettingName[] = L"Language";

// A window argument appears in an error report by its window class name, asked for only when an
// error is recorded.
struct WindowArgument {
    HWND window;
};
err::Value ToValue(const WindowArgument& argument) {
    if (!argument.window)
        return err::ObjectRef{};
    wchar_t className[256] = {};
    GetClassNameW(argument.window, className, 256);
    return err::ObjectRef{className};
}

// The folder of the running program, with a final backslash.
std::wstring ProgramFolder() {
    std::wstring folder = platform::ProgramFolder();
    if (folder.empty())
        err::RaiseSystem(err::ERR_PATH_NOT_FOUND, L"The program's folder cannot be found", GetLastError());
    return folder + L"\\";
}

} // namespace

Language::Language(Settings& settings, const File& file) : settings_(settings), file_(file), reader_(file) {
    err::EventTrap(L"clsLanguage.Class_Initialize", err::NoArgs(), [&] {
        folder_ = ProgramFolder() + L"Languages\\";
        GetLanguage();
    });
}

Language::Language(Settings& settings, const File& file, std::wstring languagesFolder)
    : settings_(settings), file_(file), folder_(std::move(languagesFolder)), reader_(file) {
    err::EventTrap(L"clsLanguage.Class_Initialize", err::NoArgs(), [&] { GetLanguage(); });
}

void Language::GetLanguage() {
    err::Trap(L"clsLanguage.GetLanguage", err::NoArgs(), [&] {
        std::wstring name = settings_.ReadValue(kSettingName, L"");
        if (name.empty())
            name = LanguageForSystem(GetSystemLanguage());
        SetLanguageFile(name);
    });
}

// A stored name could lead anywhere ("..\\..\\windows\\win" would read C:\\windows\\win.ini): a
// name that is no language file's name is English.
void Language::SetLanguageFile(const std::wstring& requested, NotSavedList* notSaved) {
    err::Trap(L"clsLanguage.LanguageFile(strFile)", err::Args(requested), [&] {
        const std::wstring name = IsLanguageName(requested) ? requested : std::wstring(L"English");
        if (name == name_)
            return;
        name_ = name;
        reader_.SetINIPath(folder_ + name + L".ini");
        reader_.ReadINI();
        settings_.WriteValue(kSettingName, name, notSaved);
    });
}

int32_t Language::GetSystemLanguage() {
    return err::Trap(L"clsLanguage.GetSystemLanguage", err::NoArgs(), [] {
        // A 16-bit identifier, widened with its sign as the program has always read it.
        return static_cast<int32_t>(static_cast<int16_t>(GetUserDefaultLangID()));
    });
}

std::vector<LanguageEntry> Language::GetAllLanguages() const {
    return err::Trap(L"clsLanguage.GetAllLanguages", err::NoArgs(), [&] {
        std::vector<LanguageEntry> languages;
        WIN32_FIND_DATAW found;
        platform::UniqueFindHandle search(FindFirstFileW((folder_ + L"*.ini").c_str(), &found));
        if (!search)
            return languages;
        constexpr DWORD kNotALanguage =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if (found.dwFileAttributes & kNotALanguage)
                continue;
            if (auto file = LanguageNameFromFileName(found.cFileName)) {
                IniFile ini(file_);
                ini.SetINIPath(folder_ + found.cFileName);
                ini.ReadINI();
                languages.push_back(
                    {*file, ini.ReadValue(kSection, std::wstring(keys::kLanguageName), *file)});
            }
        } while (FindNextFileW(search.get(), &found));
        // Linguistic order, so that "Čeština" comes before "Deutsch", not after every Latin name.
        std::ranges::stable_sort(languages, [](const LanguageEntry& a, const LanguageEntry& b) {
            return CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE, a.name.c_str(), -1,
                                   b.name.c_str(), -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
        });
        return languages;
    });
}

std::wstring Language::TranslateText(const std::wstring& key, const std::wstring& defaultText) const {
    return err::Trap(L"clsLanguage.TranslateText(strField,strDefault)", err::Args(key, defaultText), [&] {
        return reader_.ReadValue(kSection, key, defaultText.empty() ? key : defaultText);
    });
}

void Language::TranslateFormControls(HWND window) const {
    err::Trap(L"clsLanguage.TranslateFormControls(myForm)", err::Args(WindowArgument{window}), [&] {
        ForEachControl(window, [&](HWND control) {
            const wchar_t* key = TranslationKey(control);
            if (key && ShowsCaption(control))
                SetWindowTextW(control, TranslateText(key).c_str());
            return true;
        });
    });
}

} // namespace velmora
