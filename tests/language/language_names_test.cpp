#include "language/keys.h"
#include "language/language_names.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmora;

TEST(LanguageNames, SystemLanguageChoosesOnlyExactIdentifiers) {
    struct Case {
        int32_t langId;
        const wchar_t* expected;
        const char* what;
    };
    const Case cases[] = {
        {0x0407, L"Deutsch", "German (Germany)"},
        {0x040D, L"Hebrew", "Hebrew"},
        {0x0C07, L"English", "German (Austria)"},
        {0x0807, L"English", "German (Switzerland)"},
        {0x1007, L"English", "German (Luxembourg)"},
        {0x0007, L"English", "German, neutral"},
        {0x000D, L"English", "Hebrew, neutral"},
        {0x0409, L"English", "English (United States)"},
        {0x040C, L"English", "French"},
        {0, L"English", "no identifier"},
        {-1, L"English", "negative after sign widening"},
        {0x10407, L"English", "German (Germany) with high bits set"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageForSystem(c.langId), c.expected) << "case: " << c.what;
}

TEST(LanguageNames, FileNameGivesLanguageNameWithoutExtension) {
    struct Case {
        const wchar_t* fileName;
        const wchar_t* expected; // nullptr: not a language file
    };
    const Case cases[] = {
        {L"Deutsch.ini", L"Deutsch"},
        {L"ENGLISH.INI", L"ENGLISH"},
        {L"Hebrew.Ini", L"Hebrew"},
        {L"a.ini", L"a"},
        {L"Deutsch.alt.ini", L"Deutsch.alt"},
        {L"Portugu\u00eas.ini", L"Portugu\u00eas"},
        {L".ini", nullptr},
        {L"ini", nullptr},
        {L"", nullptr},
        {L"notes.inix", nullptr},
        {L"Deutsch.ini.bak", nullptr},
        {L"Deutschini", nullptr},
    };
    for (const Case& c : cases) {
        auto name = LanguageNameFromFileName(c.fileName);
        if (c.expected) {
            EXPECT_EQ(name.value_or(L"(none)"), c.expected) << "case: \"" << c.fileName << "\"";
        } else {
            EXPECT_FALSE(name.has_value()) << "case: \"" << c.fileName << "\""
                                           << " gave " << name.value_or(L"");
        }
    }
}

// A key the reader can never find is a text that shows in English whatever the language.
TEST(LanguageNames, EveryKeyCanBeFoundInALanguageFile) {
    std::set<std::wstring_view> seen;
    for (std::wstring_view key : keys::kAll) {
        std::wstring shown(key);
        EXPECT_FALSE(key.empty()) << "an empty key";
        EXPECT_TRUE(seen.insert(key).second) << "listed twice: " << shown;
        EXPECT_EQ(key.find_first_of(L"=[\r\n"), std::wstring_view::npos)
            << "\"=\", \"[\" or a line break in " << shown;
        EXPECT_NE(key.front(), L' ') << "leading blank in " << shown;
        EXPECT_NE(key.back(), L' ') << "trailing blank in " << shown;
    }
}
