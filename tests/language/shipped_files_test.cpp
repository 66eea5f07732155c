// The language files that ship with the program, read from the folder beside the test exe, where
// the build copies them as it does beside velmora.exe.
#include "language/keys.h"
#include "language/language.h"
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

// The twelve languages are shipped, and nothing else. Each file: UTF-8 with its mark, CR LF line ends,
// comment lines, the header, then one key=text line for each listed key and nothing else; read as the
// program reads it, every key gives that text, with a letter of the language's own script (Latin,
// Cyrillic, Hebrew: the one its keyboard types). A text has a mnemonic where the English one has: one "&"
// before such a letter.
TEST(ShippedLanguageFiles, TranslateEveryKeyAndNothingElse) {
    test::ScratchKey scratch(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\ShippedLanguageFiles");
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(scratch.path());
    File file;
    auto script = [](wchar_t c) { return c < 0x370 ? 'L' : c < 0x530 ? 'C' : 'H'; };
    std::wstring files;
    for (const auto& [name, own] : Language(settings, file).GetAllLanguages()) {
        files += name + L" ";
        std::string bytes = test::ReadBytes(test::BinDir() + L"\\Languages\\" + name + L".ini");
        std::wstring text(bytes.size(), L'\0'); // strict: a malformed sequence fails the whole conversion
        text.resize(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                        text.data(), int(text.size())));
        size_t header = text.find(L"\r\n[Language]\r\n");
        ASSERT_TRUE(text.starts_with(L"\uFEFF") && text.ends_with(L"\r\n") && header != std::wstring::npos)
            << name << ".ini: no mark, no UTF-8, no header after the comment lines, or no last CR LF";
        // A "[" anywhere but in the header would end the section, or stand for it, to the reader.
        EXPECT_EQ(std::count(text.begin(), text.end(), L'['), 1) << name << ".ini: \"[\" besides the header";
        std::map<std::wstring, std::wstring> values;
        for (size_t at = header + 14, end; (end = text.find(L"\r\n", at)) != text.npos; at = end + 2) {
            std::wstring line = text.substr(at, end - at), key = line.substr(0, line.find(L'='));
            EXPECT_TRUE(key != line && line.find_first_of(L"\r\n") == std::wstring::npos &&
                        std::ranges::find(keys::kAll, key) != keys::kAll.end() &&
                        values.emplace(key, line.substr(key.size() + 1)).second)
                << name << ".ini: not one key=text line of a listed key: " << line;
        }
        reg.WriteValue(L"Language", name, REG_SZ, scratch.path(), HKEY_CURRENT_USER);
        Language language(settings, file);
        auto ownLetter = [&](wchar_t c) { return IsCharAlphaW(c) && script(c) == script(own[0]); };
        for (std::wstring_view each : keys::kAll) {
            std::wstring key(each), value = values[key], read = language.TranslateText(key);
            EXPECT_TRUE(!value.empty() && value.front() != L' ' && value.back() != L' ' && read == value &&
                        std::ranges::any_of(value, ownLetter))
                << name << ".ini: no text, blanks around it, no letter of the language, or read as \"" << read
                << "\": " << key << "=" << value;
            std::wstring bare = std::regex_replace(value, std::wregex(L"&&"), L"");
            size_t mark = bare.find(L'&');
            EXPECT_TRUE(
                (mark == bare.npos) == (test::Shipped(L"English", key.c_str()).find(L'&') == bare.npos) &&
                bare.find(L'&', mark + 1) == bare.npos && (mark == bare.npos || ownLetter(bare[mark + 1])))
                << name
                << ".ini: a mnemonic missing, doubled, unwanted or not on a letter of the language: " << key
                << "=" << value;
        }
    }
    EXPECT_EQ(files,
              L"Czech Deutsch English Spanish French Italian Polish Portuguese Turkish Russian Ukrainian "
              L"Hebrew ");
}

// Every English text the code hands to a translation call as a literal is listed, so that a new message
// cannot ship untranslated. Scans the source tree of this build.
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
            std::string key = (*m)[2]; // the keys are ASCII: one that is not cannot be found either
            EXPECT_NE(std::ranges::find(keys::kAll, std::wstring(key.begin(), key.end())), keys::kAll.end())
                << entry.path().string() << " looks up \"" << key
                << "\", which language/keys.h does not list";
        }
    }
    EXPECT_GT(calls, 0) << "no translation call found below " << source.string();
}
