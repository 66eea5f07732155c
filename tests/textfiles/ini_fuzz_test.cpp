// Random texts and lookups against the INI lookup rules; fixed seed, so a failure repeats.
#include "textfiles/ini_text.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmora;

namespace {

using Span = std::pair<size_t, size_t>; // offset and length in the text; {0, 0} for nothing

// The rule written out character by character: the stretch after the first `open` up to the next
// `close` or the end.
Span Reference(const std::wstring& text, const std::wstring& open, const std::wstring& close) {
    auto at = [&](size_t i, const std::wstring& what) { return text.compare(i, what.size(), what) == 0; };
    for (size_t i = 0; i + open.size() <= text.size(); ++i) {
        if (!at(i, open))
            continue;
        size_t end = i + open.size();
        while (end < text.size() && !at(end, close))
            ++end;
        return end == i + open.size() ? Span{} : Span{i + open.size(), end - i - open.size()};
    }
    return {};
}

// Where a result view lies in the text it was taken from.
Span Where(std::wstring_view got, const std::wstring& text) {
    return got.empty() ? Span{} : Span{static_cast<size_t>(got.data() - text.data()), got.size()};
}

} // namespace

TEST(IniFuzz, RandomTextsAndLookups) {
    const wchar_t alphabet[] = {L'[', L']', L'=', L'\r', L'\n', L'a', L'b', L' ', L'\0', L'\u05D0'};
    std::mt19937 rng(5);
    auto random = [&](size_t maxLength) {
        std::wstring text(rng() % (maxLength + 1), L'\0');
        for (auto& c : text)
            c = alphabet[rng() % std::size(alphabet)];
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::wstring raw = random(48), section = random(2), key = random(2);
        std::wstring body = i % 2 ? ini::NormalizeLineEnds(raw) : raw;
        for (size_t k = 0; i % 2 && k < body.size(); ++k)
            ASSERT_TRUE(body[k] != L'\n' || (k > 0 && body[k - 1] == L'\r'))
                << "iteration " << i << ": bare LF";

        std::wstring sectionBody(ini::SectionBody(body, section));
        ASSERT_EQ(Where(ini::SectionBody(body, section), body), Reference(body, L"[" + section + L"]", L"["))
            << "section, iteration " << i;
        ASSERT_EQ(Where(ini::KeyValue(sectionBody, key), sectionBody),
                  Reference(sectionBody, L"\r\n" + key + L"=", L"\r\n"))
            << "key, iteration " << i;
    }
}
