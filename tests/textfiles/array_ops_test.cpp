// Only Count is used by the program so far; Add, Sort and Search keep one edge each.
#include "textfiles/array_ops.h"
#include "errors/err_trace.h"

#include <gtest/gtest.h>

using namespace velmora;
using List = std::vector<std::wstring>;

TEST(ArrayOps, CountAddSortAndSearchAtTheEdges) {
    ArrayOps ops;
    List list;
    EXPECT_EQ(ops.Count(list), -1) << "a list never sized";
    for (const wchar_t* text : {L"b", L"\uFFFD", L"ab", L"B", L"\U0001F600", L"a", L""})
        ops.Add(list, text);
    EXPECT_EQ(ops.Count(list), 6) << "the last index";
    EXPECT_THROW(ops.Sort(list, 1, 7), err::Error) << "a range reaching outside the list";
    EXPECT_EQ(list[1], L"\uFFFD") << "the refused sort changed the list";
    ops.Sort(list, 1, 5); // ordinal over UTF-16 units: upper case first, a prefix first
    EXPECT_EQ(list, (List{L"b", L"B", L"a", L"ab", L"\U0001F600", L"\uFFFD", L""}));
    const List sorted = {L"b", L"d", L"d", L"f"}; // the first of equal ones; -1 for none
    EXPECT_EQ(std::pair(ops.Search(sorted, L"d"), ops.Search(sorted, L"c")), std::pair(1, -1));
}
