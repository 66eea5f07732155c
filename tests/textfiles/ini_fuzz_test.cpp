// Random texts and random lookups against the INI lookup rules. Fixed seeds: a failure repeats.
#include "textfiles/file.h"
#include "textfiles/ini_file.h"
#include "textfiles/ini_text.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace velmora;

namespace {

// Few distinct characters, most of them meaningful to the rules, so that headers, keys and line
// breaks occur often in short random texts.
constexpr wchar_t kAlphabet[] = {L'[', L']', L'=', L'\r', L'\n', L'a', L'b', L' ', L'\0', L'\u05D0'};

std::wstring RandomText(std::mt19937& rng, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 1);
    std::wstring text(length(rng), L'\0');
    for (auto& c : text)
        c = kAlphabet[pick(rng)];
    return text;
}

// The rules written out character by character, independently of the searches the reader uses.
bool MatchesAt(const std::wstring& text, size_t at, const std::wstring& what) {
    if (at + what.size() > text.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (text[at + i] != what[i])
            return false;
    return true;
}

// Offset and length of what the rules select: after the first `open`, up to the first `close`.
struct Span {
    bool found = false;
    size_t offset = 0, length = 0;
};
Span Reference(const std::wstring& text, const std::wstring& open, const std::wstring& close) {
    for (size_t at = 0; at + open.size() <= text.size(); ++at) {
        if (!MatchesAt(text, at, open))
            continue;
        size_t start = at + open.size(), end = start;
        while (end < text.size() && !MatchesAt(text, end, close))
            ++end;
        return {true, start, end - start};
    }
    return {};
}

// The view lies inside text and is the expected stretch of it.
::testing::AssertionResult IsSpan(std::wstring_view got, const std::wstring& text, const Span& expected) {
    const wchar_t* begin = text.data();
    const wchar_t* end = text.data() + text.size();
    if (!got.empty() && (got.data() < begin || got.data() + got.size() > end))
        return ::testing::AssertionFailure()
               << "result of " << got.size() << " characters lies outside the text";
    size_t expectedLength = expected.found ? expected.length : 0;
    if (got.size() != expectedLength)
        return ::testing::AssertionFailure() << "length " << got.size() << ", expected " << expectedLength;
    if (!got.empty() && static_cast<size_t>(got.data() - begin) != expected.offset)
        return ::testing::AssertionFailure()
               << "offset " << (got.data() - begin) << ", expected " << expected.offset;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(IniFuzz, LookupRulesOnRandomText) {
    std::mt19937 rng(5);
    for (int i = 0; i < 20000; ++i) {
        std::wstring body = RandomText(rng, 48);
        std::wstring section = RandomText(rng, 2);
        std::wstring key = RandomText(rng, 2);

        std::wstring_view sectionBody = ini::SectionBody(body, section);
        ASSERT_TRUE(IsSpan(sectionBody, body, Reference(body, L"[" + section + L"]", L"[")))
            << "section, iteration " << i;

        // Keys are looked up in the section found above and, to reach more cases, in the whole text.
        std::wstring sectionText(sectionBody);
        ASSERT_TRUE(IsSpan(ini::KeyValue(sectionText, key), sectionText,
                           Reference(sectionText, L"\r\n" + key + L"=", L"\r\n")))
            << "key in section, iteration " << i;
        ASSERT_TRUE(IsSpan(ini::KeyValue(body, key), body, Reference(body, L"\r\n" + key + L"=", L"\r\n")))
            << "key in text, iteration " << i;
    }
}

TEST(IniFuzz, NormalizedLineEndsOnRandomText) {
    std::mt19937 rng(7);
    auto withoutCR = [](std::wstring_view text) {
        std::wstring out;
        for (wchar_t c : text)
            if (c != L'\r')
                out.push_back(c);
        return out;
    };
    for (int i = 0; i < 5000; ++i) {
        std::wstring text = RandomText(rng, 32);
        std::wstring got = ini::NormalizeLineEnds(text);
        ASSERT_EQ(withoutCR(got), withoutCR(text)) << "iteration " << i << ": something but CRs changed";
        size_t added = 0;
        for (size_t k = 0; k < got.size(); ++k) {
            if (got[k] == L'\n') {
                ASSERT_TRUE(k > 0 && got[k - 1] == L'\r') << "iteration " << i << ": bare LF at " << k;
            }
        }
        for (size_t k = 0; k < text.size(); ++k)
            added += text[k] == L'\n' && (k == 0 || text[k - 1] != L'\r');
        ASSERT_EQ(got.size(), text.size() + added) << "iteration " << i << ": CRs added or lost";
    }
}

// Whole road: random bytes (with and without a byte-order mark) on disk, read and looked up.
TEST(IniFuzz, RandomFilesThroughTheReader) {
    const std::string kPrefixes[] = {"", "\xEF\xBB\xBF", "\xFF\xFE"};
    const char kBytes[] = {'[',  ']',    '=',    '\r',   '\n',   'a',    'b',   ' ',
                           '\0', '\xFF', '\xFE', '\xEF', '\xBB', '\xD7', '\x90'};
    std::mt19937 rng(11);
    std::uniform_int_distribution<size_t> prefix(0, std::size(kPrefixes) - 1), pick(0, std::size(kBytes) - 1),
        length(0, 64);
    std::wstring dir = test::FreshTempDir(L"IniFuzz");
    std::wstring path = dir + L"\\fuzz.ini";
    File file;
    const std::wstring def = L"\x01<def>";
    for (int i = 0; i < 300; ++i) {
        std::string bytes = kPrefixes[prefix(rng)];
        for (size_t n = length(rng); n > 0; --n)
            bytes.push_back(kBytes[pick(rng)]);
        test::WriteBytes(path, bytes);
        IniFile ini(file);
        ini.SetINIPath(path);
        ini.ReadINI();
        std::wstring text = ini::NormalizeLineEnds(file.OpenForInput(path));
        for (int lookup = 0; lookup < 8; ++lookup) {
            std::wstring section = RandomText(rng, 2), key = RandomText(rng, 2);
            std::wstring got = ini.ReadValue(section, key, def);
            if (got == def)
                continue;
            ASSERT_FALSE(got.empty()) << "iteration " << i << ": empty value instead of the default";
            ASSERT_NE(text.find(L"\r\n" + key + L"=" + got), std::wstring::npos)
                << "iteration " << i << ": value is not a key line of the text";
            ASSERT_EQ(got.find(L"\r\n"), std::wstring::npos)
                << "iteration " << i << ": value runs over a line end";
        }
    }
    test::RemoveTree(dir);
}
