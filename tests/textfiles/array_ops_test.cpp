// Only Count is used by the program so far; Sort and Search keep their edges in one table each.
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

    // Ordinal over UTF-16 units: upper case first, a prefix first. A range outside the list is a
    // subscript error and changes nothing.
    const List cba = {L"c", L"b", L"a"};
    const std::tuple<List, int32_t, int32_t, List, bool> sorts[] = {
        {{L"B", L"a", L"C", L"b"}, 0, -1, {L"B", L"C", L"a", L"b"}, false},
        {{L"ab", L"\U0001F600", L"a", L"\uFFFD"}, 0, -1, {L"a", L"ab", L"\U0001F600", L"\uFFFD"}, false},
        {{L"d", L"c", L"b", L"a"}, 2, 3, {L"d", L"c", L"a", L"b"}, false},
        {cba, 2, 1, cba, false},
        {cba, -1, 2, cba, true},
        {cba, 0, 3, cba, true}};
    for (auto [input, start, last, expected, outside] : sorts) {
        SCOPED_TRACE(testing::PrintToString(std::tuple(start, last)));
        int32_t error = 0;
        try {
            ops.Sort(input, start, last);
        } catch (const err::Error& e) {
            error = e.record().number;
        }
        EXPECT_EQ(input, expected);
        EXPECT_EQ(error, outside ? err::ERR_SUBSCRIPT : 0);
    }

    const List sorted = {L"b", L"d", L"d", L"f"}; // the first of equal ones; -1 for none
    EXPECT_EQ((std::vector{ops.Search(sorted, L"b"), ops.Search(sorted, L"d"), ops.Search(sorted, L"a"),
                           ops.Search(sorted, L"c"), ops.Search(sorted, L"g"), ops.Search({}, L"b")}),
              (std::vector<int32_t>{0, 1, -1, -1, -1, -1}));
}
