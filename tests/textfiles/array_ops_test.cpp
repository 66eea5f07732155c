#include "textfiles/array_ops.h"
#include "errors/err_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace velmora;
using List = std::vector<std::wstring>;

TEST(ArrayOps, CountAndAdd) {
    ArrayOps ops;
    List list;
    EXPECT_EQ(ops.Count(list), -1) << "a list never sized";
    ops.Add(list, L"first");
    EXPECT_EQ(ops.Count(list), 0);
    ops.Add(list, L"");
    EXPECT_EQ(list, (List{L"first", L""}));
}

TEST(ArrayOps, Sort) {
    struct Case {
        const char* name;
        List input;
        int32_t start, last;
        List expected;
    };
    const Case cases[] = {
        {"ordinal: upper case first", {L"B", L"a", L"C", L"b"}, 0, -1, {L"B", L"C", L"a", L"b"}},
        {"both sides sorted", {L"b", L"a", L"d", L"c", L"e"}, 0, -1, {L"a", L"b", L"c", L"d", L"e"}},
        {"only 2..3", {L"d", L"c", L"b", L"a"}, 2, 3, {L"d", L"c", L"a", L"b"}},
        {"one-element range", {L"c", L"b", L"a"}, 1, 1, {L"c", L"b", L"a"}},
        {"empty list", {}, 0, -1, {}},
        {"prefix first, UTF-16 units",
         {L"ab", L"\U0001F600", L"a", L"\uFFFD"},
         0,
         -1,
         {L"a", L"ab", L"\U0001F600", L"\uFFFD"}},
    };
    for (auto c : cases) {
        ArrayOps().Sort(c.input, c.start, c.last);
        EXPECT_EQ(c.input, c.expected) << c.name;
    }
    // Against the standard sort: random lists full of duplicates, whole or in a random range.
    std::mt19937 rng(3);
    const std::wstring words[] = {L"", L"a", L"A", L"ab", L"b", L"\u00E4", L"aa"};
    for (int i = 0; i < 2000; ++i) {
        List list(rng() % 40);
        for (auto& w : list)
            w = words[rng() % std::size(words)];
        int32_t start = 0, last = -1; // the empty list: the whole of it
        if (!list.empty()) {
            start = rng() % list.size();
            last = rng() % list.size();
            if (start > last)
                std::swap(start, last);
        }
        List expected = list;
        std::sort(expected.begin() + start, expected.begin() + last + 1);
        ArrayOps().Sort(list, start, last);
        ASSERT_EQ(list, expected) << "iteration " << i << ", range " << start << ".." << last;
    }
}

TEST(ArrayOps, SortOutsideTheListIsSubscriptError) {
    for (auto [start, last] : {std::pair{-1, 2}, {0, 3}, {5, 7}}) {
        List list = {L"c", L"b", L"a"};
        try {
            ArrayOps().Sort(list, start, last);
            ADD_FAILURE() << "range " << start << ".." << last << ": no error";
        } catch (const err::Error& e) {
            EXPECT_EQ(e.record().number, err::ERR_SUBSCRIPT) << "range " << start << ".." << last;
            EXPECT_NE(e.record().description.find(L"Call Stack: clsArrayOps.Sort(astrArray={Array}, lngStartEntry="),
                      std::wstring::npos)
                << e.record().description;
        }
        EXPECT_EQ(list, (List{L"c", L"b", L"a"})) << "range " << start << ".." << last << ": list changed";
    }
}

// Sorted lists "b00", "b02", ...: every element is found; odd numbers (between), "a" (below) and
// "c" (above) are not.
TEST(ArrayOps, SearchSizes0To50) {
    auto name = [](int k) { return (k < 10 ? L"b0" : L"b") + std::to_wstring(k); };
    for (int size = 0; size <= 50; ++size) {
        List list;
        for (int k = 0; k < size; ++k)
            list.push_back(name(2 * k));
        for (int k = 0; k < size; ++k)
            EXPECT_EQ(ArrayOps().Search(list, list[k]), k) << "size " << size << ", element " << k;
        for (int k = 0; k <= size; ++k)
            EXPECT_EQ(ArrayOps().Search(list, name(2 * k - 1)), -1)
                << "size " << size << ", " << k << "th gap";
        EXPECT_EQ(ArrayOps().Search(list, L"a"), -1) << "size " << size << ", below";
        EXPECT_EQ(ArrayOps().Search(list, L"c"), -1) << "size " << size << ", above";
    }
    EXPECT_EQ(ArrayOps().Search({L"a", L"b", L"b", L"b"}, L"b"), 1) << "first of duplicates";
}
