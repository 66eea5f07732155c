// Random texts and lookups against the INI lookup rules; fixed seed, so a failure repeats.
#include "textfiles/ini_text.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmora;

namespace {

// The rule written out character by character: the stretch after the first `open` up to the next
// `close` (or the end); nullopt-like {false} when `open` does not occur.
struct Span {
    bool found = false;
    size_t offset = 0, length = 0;
};
Span Reference(const std::wstring& text, const std::wstring& open, const std::wstring& close) {
    auto at = [&](size_t i, const std::wstring& what) { return text.compare(i, what.size(), what) == 0; };
    for (size_t i = 0; i + open.size() <= text.size(); ++i) {
        if (!at(i, open))
            continue;
        size_t end = i + open.size();
        while (end < text.size() && !at(end, close))
            ++end;
        return {true, i + open.size(), end - i - open.size()};
    }
    return {};
}

// The view must lie inside text and be exactly the expected stretch.
::testing::AssertionResult IsSpan(std::wstring_view got, const std::wstring& text, Span want) {
    size_t offset = got.data() - text.data();
    if (!got.empty() && (got.data() < text.data() || offset + got.size() > text.size()))
        return ::testing::AssertionFailure() << "result lies outside the text";
    if (got.size() != (want.found ? want.length : 0) || (!got.empty() && offset != want.offset))
        return ::testing::AssertionFailure() << "got offset " << offset << " length " << got.size()
                                             << ", expected " << want.offset << " length " << want.length;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(IniFuzz, RandomTextsAndLookups) {
    const wchar_t alphabet[] = {L'[', L']', L'=', L'\r', L'\n', L'a', L'b', L' ', L'\0', L'\u05D0'};
    std::mt19937 rng(5);
    auto random = [&](size_t maxLength) {
        std::wstring text(std::uniform_int_distribution<size_t>(0, maxLength)(rng), L'\0');
        for (auto& c : text)
            c = alphabet[std::uniform_int_distribution<size_t>(0, std::size(alphabet) - 1)(rng)];
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::wstring raw = random(48), section = random(2), key = random(2);
        std::wstring body = i % 2 ? ini::NormalizeLineEnds(raw) : raw;
        for (size_t k = 0; i % 2 && k < body.size(); ++k) {
            ASSERT_TRUE(body[k] != L'\n' || (k > 0 && body[k - 1] == L'\r'))
                << "iteration " << i << ": bare LF";
        }

        std::wstring_view found = ini::SectionBody(body, section);
        ASSERT_TRUE(IsSpan(found, body, Reference(body, L"[" + section + L"]", L"[")))
            << "section, iteration " << i;
        std::wstring sectionBody(found);
        ASSERT_TRUE(IsSpan(ini::KeyValue(sectionBody, key), sectionBody,
                           Reference(sectionBody, L"\r\n" + key + L"=", L"\r\n")))
            << "key, iteration " << i;
    }
}
