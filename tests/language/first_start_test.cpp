// The first start, with no language stored, under the user locale that CTest sets for this exe
// through LC_ALL (Wine takes the user's language from it). Registered once per locale.
#include "language/language.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include "ui/window.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(LanguageFirstStart, ChoosesLoadsAndStoresTheLanguageOfTheUserLocale) {
    const struct {
        std::string locale;
        int32_t langId;
        const wchar_t *language, *settingsText; // the shipped file's text for the key "Settings"
    } cases[] = {{"de_DE.UTF-8", 0x0407, L"Deutsch", L"Einstellungen"},
                 {"de_AT.UTF-8", 0x0C07, L"English", L"Settings"},
                 {"en_US.UTF-8", 0x0409, L"English", L"Settings"},
                 {"he_IL.UTF-8", 0x040D, L"Hebrew", L"\u05d4\u05d2\u05d3\u05e8\u05d5\u05ea"}};
    const char* locale = std::getenv("LC_ALL");
    auto c = std::find_if(std::begin(cases), std::end(cases),
                          [&](auto& c) { return locale && c.locale == locale; });
    ASSERT_NE(c, std::end(cases)) << "LC_ALL is not one of this test's locales: run it through CTest";
    ASSERT_EQ(Language::GetSystemLanguage(), c->langId)
        << "Wine did not take the language from LC_ALL=" << locale;

    test::ScratchKey scratch(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\LanguageFirstStart");
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(scratch.path());
    File file;
    Language language(settings, file); // the real languages folder beside the exe

    // Chosen, loaded, stored.
    EXPECT_EQ(language.LanguageFile() + L" " + ui::WithoutMnemonics(language.TranslateText(L"Settings")) + L" " +
                  reg.ReadValue(L"Language", scratch.path(), HKEY_CURRENT_USER).AsText(),
              std::wstring(c->language) + L" " + c->settingsText + L" " + c->language);
}
