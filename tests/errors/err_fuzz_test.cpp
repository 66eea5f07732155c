// Thousands of errors with hostile descriptions and argument values raised through real nested
// traps: the report must keep its shape whatever the values hold.
#include "errors/err_test_support.h"
#include "errors/report_text.h"
#include "errors/trap.h"

#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <random>

using namespace velmora::err;
using velmora::test::Lines;

namespace {

std::mt19937 rng{0x5EED1234};
size_t Below(size_t n) {
    return rng() % n;
}

// Made of what most likely confuses a template or a line layout; now and then very long.
std::wstring Text(bool lineBreaks = true) {
    // clang-format off
    static const std::wstring pieces[] = {L"%", L"%nl%", L"%Descr%", L"\b", L"\bnl\b", L"'", L"<a>", L"</a>", L"<b/>",
        L",", L"(", L")", L"xml", L"{Text}", L"  Call Stack: ", L"\xD800", std::wstring(1, L'\0')};
    // clang-format on
    std::wstring text;
    for (size_t n = Below(200) == 0 ? 20000 : Below(12); n > 0; --n) {
        if (lineBreaks && Below(8) == 0)
            text += std::wstring(L"\r\n\n\r").substr(Below(3), 1 + Below(2));
        else
            text += Below(4) ? pieces[Below(std::size(pieces))] : std::wstring(1, wchar_t(1 + Below(0xFFFE)));
    }
    return text;
}

// Every kind a trap can pass.
Value AnyValue() {
    // clang-format off
    switch (Below(6)) {
    case 0: return static_cast<int32_t>(rng());
    case 1: return static_cast<int16_t>(rng());
    case 2: return Below(2) == 0;
    case 3: return ObjectRef{Below(3) ? Text(false) : L""};
    case 4: return Array{};
    default: return Text();
    }
    // clang-format on
}

TEST(ErrFuzz, HostileValuesNeverBreakTheReport) {
    velmora::test::CapturingPresenter shown;
    const int32_t numbers[] = {5,      ERR_GENERAL,      INT32_MIN,      INT32_MAX,
                               262144, ERRMAP_FIRST - 1, ERRMAP_LAST + 1};
    const uint32_t systemErrors[] = {0, 0, 203, 2, 0xDEAD, 193};
    for (int round = 0; round < 3000 && !::testing::Test::HasFailure(); ++round) {
        int32_t number = Below(2) ? numbers[Below(std::size(numbers))] : static_cast<int32_t>(rng() | 1);
        ErrorRecord error{
            IsMappedError(number) ? 5 : number, Text(false), Text(), L"", 0, 0, systemErrors[Below(6)]};
        // Signatures are literals in the code: anything but line breaks. Innermost frame last; the
        // values are held by the frames, where the traps' references reach them.
        std::vector<std::pair<std::wstring, std::vector<Value>>> frames(1 + Below(3));
        for (auto& [signature, values] : frames) {
            signature = L"cls" + Text(false) + (Below(3) ? L"(" + Text(false) + L")" : L"");
            values.resize(Below(6));
            std::generate(values.begin(), values.end(), AnyValue);
        }
        std::function<void(size_t)> level = [&](size_t i) {
            std::vector<ArgRef> args(frames[i].second.begin(), frames[i].second.end());
            Trap(frames[i].first, args, [&] { i + 1 == frames.size() ? Raise(error) : level(i + 1); });
        };
        shown.Clear();
        EventTrap(L"frmTest.Fuzz_Click", NoArgs(), [&] { level(0); });
        std::string where = "round " + std::to_string(round);
        ASSERT_EQ(shown.reports.size(), 1u) << where;
        const std::wstring& report = shown.reports[0];
        where += ":\n" + velmora::test::Narrow(report.substr(0, 3000));
        EXPECT_TRUE(report.starts_with(error.description + L" \r\n  Time='")) << where;
        std::wstring tail =
            L"\r\n  Source: " + error.source + L" \r\n  Description: " + error.description + L"\r\n";
        size_t tailAt = report.find(tail, error.description.size());
        ASSERT_NE(tailAt, std::wstring::npos) << "header incomplete in " << where;

        // Then the system-error line where there is a code, and one call-stack line per level,
        // innermost first, each followed only by the indented lines of its value blocks.
        std::vector<std::wstring> lines = Lines(report.substr(tailAt + tail.size()));
        bool apiLine = error.lastSystemError != 0 && error.lastSystemError != 203;
        ASSERT_FALSE(lines.empty()) << where;
        EXPECT_EQ(lines[0].starts_with(L"  API Error: ("), apiLine) << where;
        std::vector<std::wstring> methods;
        for (auto f = frames.rbegin(); f != frames.rend(); ++f)
            methods.push_back(f->first.substr(0, f->first.find(L'(')));
        methods.push_back(L"frmTest.Fuzz_Click");
        size_t seen = 0;
        for (size_t i = apiLine ? 1 : 0; i < lines.size(); ++i) {
            if (!lines[i].starts_with(L"  Call Stack: "))
                EXPECT_TRUE(lines[i].starts_with(L"    Value Of ") || lines[i].starts_with(L"      "))
                    << "stray line " << i << " in " << where;
            else
                EXPECT_TRUE(seen < methods.size() && lines[i].size() >= 100 &&
                            lines[i].starts_with(L"  Call Stack: " + methods[seen++] + L"("))
                    << "call-stack line " << seen << " in " << where;
        }
        EXPECT_EQ(seen, methods.size()) << where;
    }
}

} // namespace
