#include "textfiles/array_ops.h"
#include "errors/err_trace.h"

#include <gtest/gtest.h>

using namespace velmora;
using List = std::vector<std::wstring>;

TEST(ArrayOps, CountAddSortAndSearchAtTheEdges) {
    ArrayOps ops;
    List list;
    EXPECT_EQ(ops.Count(list), -1) << "a list never sized";
    ops.Add(list, L"first");
    ops.Add(list, L"");
    EXPECT_EQ(ops.Count(list), 1);
    EXPECT_EQ(list, (List{L"first", L""}));

    const List cba = {L"c", L"b", L"a"};
    struct Case {
        const char* name;
        List input;
        int32_t start, last;
        List expected; // a range outside the list is a subscript error and changes nothing
        bool outside = false;
    } sorts[] = {
        {"ordinal: upper case first", {L"B", L"a", L"C", L"b"}, 0, -1, {L"B", L"C", L"a", L"b"}},
        {"prefix first, UTF-16 units",
         {L"ab", L"\U0001F600", L"a", L"\uFFFD"},
         0,
         -1,
         {L"a", L"ab", L"\U0001F600", L"\uFFFD"}},
        {"only 2..3", {L"d", L"c", L"b", L"a"}, 2, 3, {L"d", L"c", L"a", L"b"}},
        {"one-element range", cba, 1, 1, cba},
        {"start after last", cba, 2, 1, cba},
        {"empty list", {}, 0, -1, {}},
        {"start below 0", cba, -1, 2, cba, true},
        {"last past the end", cba, 0, 3, cba, true},
        {"all of it past the end", cba, 5, 7, cba, true},
    };
    for (auto c : sorts) {
        std::wstring report;
        try {
            ops.Sort(c.input, c.start, c.last);
        } catch (const err::Error& e) {
            EXPECT_EQ(e.record().number, err::ERR_SUBSCRIPT) << c.name;
            report = e.record().description;
        }
        EXPECT_EQ(c.input, c.expected) << c.name;
        EXPECT_EQ(report.find(L"Call Stack: clsArrayOps.Sort(astrArray={Array}, lngStartEntry=" +
                              std::to_wstring(c.start)) != std::wstring::npos,
                  c.outside)
            << c.name << ": " << testing::PrintToString(report);
    }

    const List sorted = {L"b", L"d", L"d", L"f"};
    const std::pair<const wchar_t*, int32_t> searches[] = {{L"b", 0},  {L"d", 1},  {L"f", 3}, {L"a", -1},
                                                           {L"c", -1}, {L"g", -1}, {L"", -1}};
    for (auto [value, index] : searches)
        EXPECT_EQ(ops.Search(sorted, value), index) << testing::PrintToString(std::wstring(value));
    EXPECT_EQ(ops.Search({}, L"b"), -1) << "empty list";
}
