// The language files that ship with the program, read from the folder beside the test exe, where
// the build copies them as it does beside velmora.exe.
#include "language/keys.h"
#include "language/language.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

using namespace velmora;

// Each file: UTF-8 with its mark and CR LF line ends; comment lines, the header, then one key=text
// line for each listed key and for nothing else; read as the program reads it, every key gives
// that text, and in Hebrew.ini a Hebrew one.
TEST(ShippedLanguageFiles, TranslateEveryKeyAndNothingElse) {
    test::ScratchKey scratch(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\ShippedLanguageFiles");
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(scratch.path());
    File file;
    for (std::wstring name : {L"English", L"Deutsch", L"Hebrew"}) {
        std::string bytes = test::ReadBytes(test::BinDir() + L"\\Languages\\" + name + L".ini");
        ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF") && bytes.ends_with("\r\n"))
            << name << ".ini: no mark or no last CR LF";
        std::wstring text(bytes.size(), L'\0'); // strict: a malformed sequence fails the whole conversion
        text.resize(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3,
                                        int(bytes.size() - 3), text.data(), int(text.size())));
        ASSERT_FALSE(text.empty()) << name << ".ini is not valid UTF-8";
        // A "[" anywhere but in the header would end the section, or stand for it, to the reader.
        EXPECT_EQ(std::count(text.begin(), text.end(), L'['), 1) << name << ".ini: \"[\" besides the header";
        std::map<std::wstring, std::wstring> values;
        bool inSection = false;
        for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
             start = end + 2) {
            std::wstring line = text.substr(start, end - start);
            if (!inSection) { // comment lines, then the header
                inSection = line == L"[Language]";
                EXPECT_TRUE(inSection || line.empty() || line.starts_with(L";")) << name << ".ini: " << line;
                continue;
            }
            size_t equals = line.find(L'=');
            std::wstring key = line.substr(0, equals);
            EXPECT_TRUE(equals != std::wstring::npos && line.find_first_of(L"\r\n") == std::wstring::npos &&
                        std::find(keys::kAll.begin(), keys::kAll.end(), key) != keys::kAll.end() &&
                        values.emplace(key, line.substr(equals + 1)).second)
                << name << ".ini: not one key=text line of a listed key: " << line;
        }
        reg.WriteValue(L"Language", name, REG_SZ, scratch.path(), HKEY_CURRENT_USER);
        Language language(settings, file);
        ASSERT_EQ(language.LanguageFile(), name);
        for (std::wstring_view listed : keys::kAll) {
            std::wstring key(listed), value = values[key];
            bool hebrew =
                std::any_of(value.begin(), value.end(), [](wchar_t c) { return c >= 0x05D0 && c <= 0x05EA; });
            EXPECT_FALSE(value.empty() || value.front() == L' ' || value.back() == L' ' ||
                         (name == L"Hebrew" && !hebrew))
                << name << ".ini: no text, blanks around it, or no Hebrew in Hebrew.ini: " << key << "="
                << value;
            EXPECT_EQ(language.TranslateText(key), value.empty() ? key : value)
                << name << ".ini, key " << key;
        }
    }
}

// Every English text the code hands to a translation call as a literal is in the list the files are
// checked against, so a new message cannot ship untranslated. Scans the source tree of this build.
TEST(ShippedLanguageFiles, ListHoldsEveryKeyTheCodeLooksUp) {
    // A Unix path is seen through Wine's drive Z:.
    std::filesystem::path source =
        std::string(VELMORA_SOURCE_DIR[0] == '/' ? "Z:" : "") + VELMORA_SOURCE_DIR "/src";
    const std::regex call(R"re(Translate(Text)?\(\s*L"((\\.|[^"\\])*)")re");
    int calls = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m, ++calls) {
            std::string utf8 = (*m)[2];
            std::wstring key(utf8.size(), L'\0');
            key.resize(
                MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), key.data(), int(key.size())));
            EXPECT_NE(std::find(keys::kAll.begin(), keys::kAll.end(), key), keys::kAll.end())
                << entry.path().string() << " looks up \"" << key
                << "\", which language/keys.h does not list";
        }
    }
    EXPECT_GT(calls, 0) << "no translation call found below " << source.string();
}
