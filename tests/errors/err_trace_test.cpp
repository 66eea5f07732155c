// Errors raised for real and caught by real traps: what the event handler finally presents; and
// the report's argument list and call-stack line on their own.
#include "errors/err_test_support.h"
#include "errors/report_text.h"
#include "errors/trap.h"

#include <gtest/gtest.h>
#include <functional>
#include <new>
#include <regex>
#include <stdexcept>

using namespace velmora::err;
using namespace velmora::test;

namespace {

class ErrReport : public ::testing::Test {
protected:
    template <typename F> void UnderHandler(F&& body) {
        shown.Clear();
        EventTrap(L"frmMain.cbtnStart_Click", NoArgs(), std::forward<F>(body));
    }
    CapturingPresenter shown;
};

TEST_F(ErrReport, GoldenTextOfError5FromProcedureWithoutParameters) {
    UnderHandler([] {
        Trap(L"clsStarter.CheckNumber", NoArgs(), [] {
            Raise(ErrorRecord{ERR_INVALID_CALL, L"Velmora", L"Invalid procedure call or argument"});
        });
    });
    // The facts line is checked in full by the start-up test; here only this exe's name and version.
    EXPECT_EQ(std::regex_replace(shown.reports.at(0),
                                 std::wregex(L"  Time=.* App='err_trace_test:3\\.4\\.5' .*"), L"<facts>"),
              L"Invalid procedure call or argument \r\n"
              L"<facts>\r\n"
              L"  Method: clsStarter.CheckNumber \r\n"
              L"  Number: 5 = &H5 = vbObjectError + 2147221509 = ERRMAP_APP_FIRST + 2147216311 \r\n"
              L"  Source: Velmora \r\n"
              L"  Description: Invalid procedure call or argument\r\n"
              L"  Call Stack: clsStarter.CheckNumber() "
              L"-------------------------------------------------------------\r\n"
              L"  Call Stack: frmMain.cbtnStart_Click() "
              L"------------------------------------------------------------\r\n");
}

// The argument values are those the levels hold when the error passes them, made into report
// values only then: the name changes after the call began and shows as changed.
void Nested(int depth, int& raiseLine) {
    std::wstring name = L"before";
    Trap(L"clsLevel.Step(lngDepth,strName)", Args(depth, name), [&] {
        name = L"x";
        if (depth > 1)
            return Nested(depth - 1, raiseLine);
        raiseLine = __LINE__ + 1;
        Raise(ERR_TYPE_MISMATCH, L"Type mismatch");
    });
}

TEST_F(ErrReport, NestedLevelsGiveOneHeaderAndOneLineEachInnermostFirst) {
    int raiseLine = 0;
    UnderHandler([&] { Nested(3, raiseLine); });
    std::vector<std::wstring> lines = Lines(shown.reports.at(0));
    ASSERT_EQ(lines.size(), 10u) << Narrow(shown.reports[0]);
    EXPECT_EQ(lines[0] + lines[2] + lines[4] + lines[5],
              L"Type mismatch   Method: clsLevel.Step   Source: Velmora   Description: Type mismatch");
    for (int i = 0; i < 3; ++i) {
        std::wstring line = L"  Call Stack: clsLevel.Step(lngDepth=" + std::to_wstring(i + 1) +
                            L", strName='x')" + (i == 0 ? L"  at Line " + std::to_wstring(raiseLine) : L"") +
                            L" ";
        EXPECT_EQ(lines[6 + i], line + std::wstring(100 - line.size(), L'-')) << "line " << i;
    }
    EXPECT_TRUE(lines[9].starts_with(L"  Call Stack: frmMain.cbtnStart_Click() -"));
}

TEST_F(ErrReport, WhatTheHandlerShowsForEachKindOfFailure) {
    const std::wstring user = L"Please enter a valid ICQ number",
                       lost = L"ErrorIn: Error information was lost. To fix: call ErrPreserve before doing "
                              L"anything in error handler. \r\n";
    auto raise = [](ErrorRecord e) { return std::function<void()>([e] { Raise(e); }); };
    struct Case {
        const char* name;
        std::function<void()> fail;
        std::vector<std::wstring> contains, absent; // contains empty: no report at all
        std::vector<std::wstring> messages;
    } cases[] = {
        // clang-format off
        {"out of memory", [] { throw std::bad_alloc(); }, {L"Out of memory \r\n"}},
        {"library exception", [] { throw std::out_of_range("vector"); }, {L"Internal error: vector \r\n"}},
        {"anything else", [] { throw 42; }, {lost, L" = vbObjectError + 5198 = ERRMAP_APP_FIRST + 0 = ERR_GENERAL\r\n"}},
        {"number 0", raise({}), {lost}},
        {"system error 203", raise({1, L"s", L"d", {}, 0, 0, 203}), {L"  Description: d\r\n  Call Stack: "}, {L"API Error"}},
        {"system error 2", raise({1, L"s", L"d", {}, 0, 0, 2}), {L"  Description: d\r\n  API Error: (2) "}, {L"(2) \r\n"}},
        {"no system message", raise({1, L"s", L"d", {}, 0, 0, 0xDEAD}), {L"\r\n  API Error: (57005) \r\n  Call Stack: "}},
        // Put into the template as they are: a placeholder name in a value is not filled in again.
        {"template marks", raise({1, L"%Descr%", L"%Source% 50%"}), {L"%Source% 50% \r\n", L"  Source: %Descr% \r\n  Description: %Source% 50%\r\n"}},
        {"largest number", raise({INT32_MAX, L"s", L"d"}),
         {L"  Number: 2147483647 = &H7FFFFFFF = vbObjectError + 4294705151 = ERRMAP_APP_FIRST + 4294699953 \r\n"}},
        {"smallest number", raise({INT32_MIN, L"s", L"d"}),
         {L"  Number: -2147483648 = &H80000000 = vbObjectError - 262144 = ERRMAP_APP_FIRST - 267342 \r\n"}},
        {"first mapped", raise({ERRMAP_FIRST, L"s", user}), {}, {}, {user}},
        {"last mapped", raise({ERRMAP_LAST, L"s", user}), {}, {}, {user}},
        {"silent", raise({ERRMAP_SILENT, L"s", user}), {}, {}, {}},
        {"below mapped", raise({ERRMAP_FIRST - 1, L"s", user}), {user + L" \r\n"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnderHandler([&] { Trap(L"clsStarter.User(strICQNumber)", Args(L"12-34"), c.fail); });
        EXPECT_EQ(shown.messages, c.messages);
        ASSERT_EQ(shown.reports.size(), c.contains.empty() ? 0u : 1u);
        std::wstring report = shown.reports.empty() ? L"" : shown.reports[0];
        SCOPED_TRACE(Narrow(report));
        for (const auto& text : c.contains)
            EXPECT_NE(report.find(text), std::wstring::npos) << Narrow(text);
        for (const auto& text : c.absent)
            EXPECT_EQ(report.find(text), std::wstring::npos) << Narrow(text);
    }
}

TEST(ErrTextArgs, EveryKindInlineAndValueBlocks) {
    const std::wstring x38(38, L'x'), y39(39, L'y');
    const std::wstring nul(L"a\0b", 3);
    // names, values, inline list, value blocks
    const std::tuple<const char*, std::wstring, ArgValues, std::wstring, std::wstring> cases[] = {
        // clang-format off
        {"every kind", L"a,b,c,d,e,f,g,h",
         ToValues(Args(int16_t{-32768}, INT32_MIN, true, L"it's", nul, ObjectRef{L"frmInfo"}, ObjectRef{}, std::vector<std::wstring>{L"x"})),
         L"a=-32768, b=-2147483648, c=True, d='it's', e='" + nul + L"', f={frmInfo}, g={Nothing}, h={Array}", L""},
        {"38 characters stay inline", L"s", ToValues(Args(x38)), L"s='" + x38 + L"'", L""},
        {"39 characters are 41 quoted", L"s", ToValues(Args(y39)), L"s={Text}", L"    Value Of s:\r\n      '" + y39 + L"'"},
        {"line breaks of every kind, two blocks", L"str,b", ToValues(Args(L"a\r\nb\nc\rd", L"2\n")), L"str={Text}, b={Text}",
         L"    Value Of str:\r\n      'a\r\n      b\r\n      c\r\n      d'\r\n    Value Of b:\r\n      '2\r\n      '"},
        {"more names than values", L"strA,strB,lngC", ToValues(Args(L"x")), L"strA='x'", L""},
        {"more values than names", L"strA", ToValues(Args(L"x", 2, false)), L"strA='x', 2, False", L""},
        {"xml laid out by tags", L"xmlDoc", ToValues(Args(L"<root><item id='1'/><name>text</name></root></x>")), L"xmlDoc={Text}",
         L"    Value Of xmlDoc:\r\n      <root>\r\n        <item id='1'/>\r\n        <name>text\r\n        </name>\r\n"
         L"      </root>\r\n      </x>"},
        // clang-format on
    };
    for (const auto& [name, names, values, list, blocks] : cases) {
        FormattedArgs got = FormatArgs(names, values);
        EXPECT_EQ(got.list + L"\n" + got.valueBlocks, list + L"\n" + blocks) << name;
    }
}

} // namespace
