// The first start, with no language stored, under the user locale that CTest sets for this exe
// through LC_ALL (Wine takes the user's language from it). Registered once per locale.
#include "language/language.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include "ui/window.h"

#include <gtest/gtest.h>
#include <algorithm>

using namespace velmora;

TEST(LanguageFirstStart, ChoosesLoadsAndStoresTheLanguageOfTheUserLocale) {
    // The locale, its language identifier, the language chosen (and stored) and its text for "Settings".
    const std::tuple<std::string, int32_t, std::wstring> cases[] = {
        {"de_DE.UTF-8", 0x0407, L"Deutsch Einstellungen Deutsch"},
        {"de_AT.UTF-8", 0x0C07, L"Deutsch Einstellungen Deutsch"},
        {"he_IL.UTF-8", 0x040D, L"Hebrew \u05d4\u05d2\u05d3\u05e8\u05d5\u05ea Hebrew"},
        {"fr_FR.UTF-8", 0x040C, L"French Param\u00e8tres French"},
        {"ru_RU.UTF-8", 0x0419, L"Russian \u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438 Russian"},
        {"nl_NL.UTF-8", 0x0413, L"English Settings English"}}; // a language without a file
    const char* locale = std::getenv("LC_ALL");
    auto c = std::ranges::find_if(cases, [&](auto& c) { return locale && std::get<0>(c) == locale; });
    ASSERT_NE(c, std::end(cases)) << "LC_ALL is not one of this test's locales: run it through CTest";
    ASSERT_EQ(Language::GetSystemLanguage(), std::get<1>(*c)) << "Wine ignored " << locale;
    test::ScratchKey scratch(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\LanguageFirstStart");
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(scratch.path());
    File file;
    Language language(settings, file); // the real languages folder beside the exe
    EXPECT_EQ(language.LanguageFile() + L" " + ui::WithoutMnemonics(language.TranslateText(L"Settings")) +
                  L" " + reg.ReadValue(L"Language", scratch.path(), HKEY_CURRENT_USER).AsText(),
              std::get<2>(*c));
}
