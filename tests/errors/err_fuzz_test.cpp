// Thousands of errors with hostile descriptions and argument values raised through real nested
// traps: the report must keep its shape whatever the values hold.
#include "errors/err_test_support.h"
#include "errors/trap.h"

#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <random>

using namespace velmora::err;
using velmora::test::Lines;
using velmora::test::Narrow;

namespace {

struct Generator {
    std::mt19937 rng{0x5EED1234};
    size_t Below(size_t n) { return rng() % n; }

    // Made of what most likely confuses a template or a line layout; now and then very long.
    std::wstring Text(bool lineBreaks = true) {
        static const std::wstring pieces[] = {L"%",
                                              L"%nl%",
                                              L"%Descr%",
                                              L"\b",
                                              L"\bnl\b",
                                              L"'",
                                              L"<a>",
                                              L"</a>",
                                              L"<b/>",
                                              L",",
                                              L"(",
                                              L")",
                                              L"xml",
                                              L"{Text}",
                                              L"  Call Stack: ",
                                              L"\xD800",
                                              std::wstring(1, L'\0')};
        std::wstring text;
        for (size_t n = Below(200) == 0 ? 20000 : Below(12); n > 0; --n) {
            if (lineBreaks && Below(8) == 0)
                text += std::wstring(L"\r\n\n\r").substr(Below(3), 1 + Below(2));
            else
                text += Below(4) == 0 ? std::wstring(1, static_cast<wchar_t>(1 + Below(0xFFFE)))
                                      : pieces[Below(std::size(pieces))];
        }
        return text;
    }
    // Every kind a trap can pass, held where the trap's references can reach them.
    std::vector<Value> AnyValues() {
        std::vector<Value> values(Below(6));
        for (auto& v : values) {
            switch (Below(6)) {
            case 0:
                v = static_cast<int32_t>(rng());
                break;
            case 1:
                v = static_cast<int16_t>(rng());
                break;
            case 2:
                v = Below(2) == 0;
                break;
            case 3:
                v = ObjectRef{Below(3) ? Text(false) : L""};
                break;
            case 4:
                v = Array{};
                break;
            default:
                v = Text();
            }
        }
        return values;
    }
};

// The values of a trap line: Args of each held value, as a real trap line has them.
std::vector<ArgRef> Refs(const std::vector<Value>& values) {
    return std::vector<ArgRef>(values.begin(), values.end());
}

TEST(ErrFuzz, HostileValuesNeverBreakTheReport) {
    Generator gen;
    velmora::test::CapturingPresenter shown;
    const int32_t numbers[] = {5, ERR_GENERAL, INT32_MIN, INT32_MAX, 262144, ERRMAP_FIRST, ERRMAP_SILENT};
    const uint32_t systemErrors[] = {0, 0, 203, 2, 0xDEAD, 193};
    for (int round = 0; round < 3000 && !::testing::Test::HasFailure(); ++round) {
        int32_t number =
            gen.Below(2) ? numbers[gen.Below(std::size(numbers))] : static_cast<int32_t>(gen.rng() | 1);
        ErrorRecord error{number, gen.Text(false), gen.Text(), L"", 0, 0, systemErrors[gen.Below(6)]};
        // Signatures are literals in the code: anything but line breaks; innermost frame last.
        std::vector<std::pair<std::wstring, std::vector<Value>>> frames(1 + gen.Below(3));
        for (auto& [signature, values] : frames) {
            signature = L"cls" + gen.Text(false) + (gen.Below(3) ? L"(" + gen.Text(false) + L")" : L"");
            values = gen.AnyValues();
        }
        std::function<void(size_t)> level = [&](size_t i) {
            std::vector<ArgRef> refs = Refs(frames[i].second);
            Trap(frames[i].first, refs, [&] {
                if (i + 1 == frames.size())
                    Raise(error);
                level(i + 1);
            });
        };
        shown.Clear();
        EventTrap(L"frmTest.Fuzz_Click", NoArgs(), [&] { level(0); });
        std::string where = "round " + std::to_string(round);

        if (number >= ERRMAP_FIRST && number <= ERRMAP_LAST) {
            EXPECT_TRUE(shown.reports.empty()) << where;
            EXPECT_EQ(shown.messages, std::vector<std::wstring>(number != ERRMAP_SILENT, error.description))
                << where;
            continue;
        }
        ASSERT_EQ(shown.reports.size(), 1u) << where;
        const std::wstring& report = shown.reports[0];
        where += ":\n" + Narrow(report.substr(0, 3000));
        EXPECT_TRUE(report.starts_with(error.description + L" \r\n  Time='")) << where;
        std::wstring tail =
            L"\r\n  Source: " + error.source + L" \r\n  Description: " + error.description + L"\r\n";
        size_t tailAt = report.find(tail, error.description.size());
        ASSERT_NE(tailAt, std::wstring::npos) << "header incomplete in " << where;

        std::vector<std::wstring> lines = Lines(report.substr(tailAt + tail.size()));
        bool apiLine = error.lastSystemError != 0 && error.lastSystemError != 203;
        ASSERT_FALSE(lines.empty()) << where;
        EXPECT_EQ(lines[0].starts_with(L"  API Error: ("), apiLine) << where;
        std::vector<std::wstring> methods; // innermost first, the handler last
        for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
            methods.push_back(frame->first.substr(0, frame->first.find(L'(')));
        methods.push_back(L"frmTest.Fuzz_Click");
        size_t callStack = 0;
        for (size_t i = apiLine ? 1 : 0; i < lines.size(); ++i) {
            if (lines[i].starts_with(L"  Call Stack: ")) {
                EXPECT_TRUE(callStack < methods.size() &&
                            lines[i].starts_with(L"  Call Stack: " + methods[callStack] + L"(") &&
                            lines[i].size() >= 100)
                    << "call-stack line " << callStack << " in " << where;
                ++callStack;
            } else {
                EXPECT_TRUE(lines[i].starts_with(L"    Value Of ") || lines[i].starts_with(L"      "))
                    << "stray line " << i << " in " << where;
            }
        }
        EXPECT_EQ(callStack, methods.size()) << where;
    }
}

} // namespace
