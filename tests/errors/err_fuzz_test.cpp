// Errors with hostile descriptions, signatures and argument values raised through real traps: the
// report keeps its shape whatever they hold. Fixed seed, so a failure repeats.
#include "errors/err_test_support.h"
#include "errors/report_text.h"
#include "errors/trap.h"

#include <gtest/gtest.h>
#include <random>

using namespace velmora::err;
using namespace std::literals;

TEST(ErrFuzz, HostileValuesNeverBreakTheReport) {
    std::mt19937 rng{0x5EED1234};
    auto below = [&](size_t n) { return rng() % n; };
    // What most likely confuses a template or a line layout; now and then very long. Signatures are
    // literals in the code: anything but line breaks.
    const std::wstring_view pieces[] = {L"%"sv,      L"%Descr%"sv,       L"\b"sv, L"'"sv,  L"<a>"sv,
                                        L"</a>"sv,   L"<b/>"sv,          L","sv,  L"("sv,  L")"sv,
                                        L"xml"sv,    L"\r\n"sv,          L"\n"sv, L"\r"sv, L"\0"sv,
                                        L"\xD800"sv, L"  Call Stack: "sv};
    auto text = [&](bool lineBreaks) {
        std::wstring t;
        for (size_t n = below(200) == 0 ? 20000 : below(12); n > 0; --n) {
            std::wstring piece(below(4) ? pieces[below(std::size(pieces))]
                                        : std::wstring(1, wchar_t(1 + below(0xFFFE))));
            t += lineBreaks || piece.find_first_of(L"\r\n") == std::wstring::npos ? piece : L"";
        }
        return t;
    };
    velmora::test::CapturingPresenter shown;
    for (int round = 0; round < 3000 && !::testing::Test::HasFailure(); ++round) {
        ErrorRecord error{static_cast<int32_t>(rng()), text(false), text(true)};
        error.number = IsMappedError(error.number) ? 5 : error.number; // a mapped one shows no report
        error.lastSystemError = below(3) ? 0 : rng();
        // One level (the nesting is the table tests'); its values live here, where its references reach them.
        std::wstring signature = L"cls" + text(false) + L"(" + text(false) + L")";
        std::vector<Value> values;
        for (size_t n = below(6); n > 0; --n) {
            Value kinds[] = {int32_t(rng()),         int16_t(rng()), below(2) == 0,
                             ObjectRef{text(false)}, Array{},        text(true)};
            values.push_back(kinds[below(std::size(kinds))]);
        }
        std::vector<ArgRef> args(values.begin(), values.end());
        shown.Clear();
        EventTrap(L"frmTest.Fuzz_Click", NoArgs(), [&] { Trap(signature, args, [&] { Raise(error); }); });
        ASSERT_EQ(shown.reports.size(), 1u) << "round " << round;
        const std::wstring& report = shown.reports[0];
        SCOPED_TRACE("round " + std::to_string(round) + ":\n" +
                     velmora::test::Narrow(report.substr(0, 3000)));
        EXPECT_TRUE(report.starts_with(error.description + L" \r\n  Time='"));
        std::wstring tail =
            L"\r\n  Source: " + error.source + L" \r\n  Description: " + error.description + L"\r\n";
        size_t tailAt = report.find(tail, error.description.size());
        ASSERT_NE(tailAt, std::wstring::npos) << "header incomplete";
        // Then at most a system-error line, and the two call-stack lines, each followed only by the
        // indented lines of its value blocks.
        const std::wstring methods[] = {L"  Call Stack: " + signature.substr(0, signature.find(L'(')) + L"(",
                                        L"  Call Stack: frmTest.Fuzz_Click("};
        std::vector<std::wstring> lines = velmora::test::Lines(report.substr(tailAt + tail.size()));
        size_t seen = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            bool stack = lines[i].starts_with(L"  Call Stack: ");
            EXPECT_TRUE(stack ? seen < 2 && lines[i].starts_with(methods[seen++]) && lines[i].size() >= 100
                              : (i == 0 && lines[i].starts_with(L"  API Error: (")) ||
                                    lines[i].starts_with(L"    Value Of ") || lines[i].starts_with(L"      "))
                << (stack ? "call-stack" : "stray") << " line " << i;
        }
        EXPECT_EQ(seen, 2u);
    }
}
