#include "textfiles/array_ops.h"
#include "errors/err_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace velmora;
using List = std::vector<std::wstring>;

TEST(ArrayOps, CountAndAdd) {
    ArrayOps ops;
    List list;
    EXPECT_EQ(ops.Count(list), -1) << "a list that was never sized";
    ops.Add(list, L"first");
    EXPECT_EQ(ops.Count(list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], L"first");
    ops.Add(list, L"");
    ops.Add(list, L"third");
    EXPECT_EQ(ops.Count(list), 2) << "an empty text is an element too";
    EXPECT_EQ(list, (List{L"first", L"", L"third"}));
}

TEST(ArrayOps, PivotIndexRoundsHalvesToEven) {
    const int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t start, last, expected;
    };
    const Case cases[] = {{0, 3, 2},         {2, 3, 2}, {0, 1, 0}, {1, 2, 2}, {3, 4, 4},
                          {4, 5, 4},         {0, 0, 0}, {0, 4, 2}, {5, 5, 5}, {kMax - 1, kMax, kMax - 1},
                          {kMax, kMax, kMax}};
    for (const auto& c : cases)
        EXPECT_EQ(ArrayOps::PivotIndex(c.start, c.last), c.expected) << "range " << c.start << ".." << c.last;
}

TEST(ArrayOps, SortCases) {
    struct Case {
        const char* name;
        List input;
        int32_t start, last;
        List expected;
    };
    const std::vector<Case> cases = {
        {"ordinal: upper case first", {L"B", L"a", L"C", L"b"}, 0, -1, {L"B", L"C", L"a", L"b"}},
        {"both sides sorted", {L"b", L"a", L"d", L"c", L"e"}, 0, -1, {L"a", L"b", L"c", L"d", L"e"}},
        {"explicit last", {L"b", L"a", L"d", L"c", L"e"}, 0, 4, {L"a", L"b", L"c", L"d", L"e"}},
        {"only 2..3", {L"d", L"c", L"b", L"a"}, 2, 3, {L"d", L"c", L"a", L"b"}},
        {"only 1..3", {L"z", L"c", L"a", L"b", L"0"}, 1, 3, {L"z", L"a", L"b", L"c", L"0"}},
        {"one-element range", {L"c", L"b", L"a"}, 1, 1, {L"c", L"b", L"a"}},
        {"already sorted", {L"a", L"b", L"c"}, 0, -1, {L"a", L"b", L"c"}},
        {"empty list", {}, 0, -1, {}},
        {"start after last", {L"c", L"b", L"a"}, 2, 1, {L"c", L"b", L"a"}},
        {"prefix sorts first", {L"ab", L"a", L""}, 0, -1, {L"", L"a", L"ab"}},
        {"duplicates", {L"b", L"a", L"b", L"a"}, 0, -1, {L"a", L"a", L"b", L"b"}},
        {"UTF-16 code units, not letters",
         {L"\u00E9", L"z", L"Z", L"e"},
         0,
         -1,
         {L"Z", L"e", L"z", L"\u00E9"}},
        {"surrogates below U+FFFD", {L"\uFFFD", L"\U0001F600"}, 0, -1, {L"\U0001F600", L"\uFFFD"}},
    };
    ArrayOps ops;
    for (auto c : cases) {
        ops.Sort(c.input, c.start, c.last);
        EXPECT_EQ(c.input, c.expected) << c.name;
    }
}

// Against the standard sort on random lists full of duplicates, whole and in random sub-ranges.
TEST(ArrayOps, SortMatchesStandardSortOnRandomLists) {
    std::mt19937 rng(3);
    const std::wstring words[] = {L"", L"a", L"A", L"ab", L"b", L"B", L"\u00E4", L"\U0001F600", L"aa"};
    std::uniform_int_distribution<size_t> size(0, 60), word(0, std::size(words) - 1);
    ArrayOps ops;
    for (int i = 0; i < 2000; ++i) {
        List list(size(rng));
        for (auto& w : list)
            w = words[word(rng)];
        List expected = list;
        int32_t start = 0, last = -1;
        if (!list.empty() && i % 2) {
            std::uniform_int_distribution<int32_t> index(0, static_cast<int32_t>(list.size()) - 1);
            start = index(rng);
            last = index(rng);
            if (start > last)
                std::swap(start, last);
            std::sort(expected.begin() + start, expected.begin() + last + 1);
        } else {
            std::sort(expected.begin(), expected.end());
        }
        ops.Sort(list, start, last);
        ASSERT_EQ(list, expected) << "iteration " << i << ", range " << start << ".." << last;
    }
}

TEST(ArrayOps, SortLongListsInAwkwardOrders) {
    const int n = 20000;
    struct Case {
        const char* name;
        List list;
    };
    std::vector<Case> cases = {{"ascending", {}}, {"descending", {}}, {"all equal", {}}, {"organ pipe", {}}};
    for (int i = 0; i < n; ++i) {
        cases[0].list.push_back(std::to_wstring(100000 + i));
        cases[1].list.push_back(std::to_wstring(100000 + n - i));
        cases[2].list.push_back(L"same");
        cases[3].list.push_back(std::to_wstring(100000 + std::min(i, n - i)));
    }
    ArrayOps ops;
    for (auto& c : cases) {
        ops.Sort(c.list, 0);
        EXPECT_TRUE(std::is_sorted(c.list.begin(), c.list.end())) << c.name;
        EXPECT_EQ(c.list.size(), static_cast<size_t>(n)) << c.name;
    }
}

TEST(ArrayOps, SortRangeOutsideTheListIsSubscriptError) {
    struct Case {
        const char* name;
        int32_t start, last;
    };
    const Case cases[] = {
        {"negative start", -1, 2}, {"last past the end", 0, 3}, {"both past the end", 5, 7}};
    ArrayOps ops;
    for (const auto& c : cases) {
        List list = {L"c", L"b", L"a"};
        try {
            ops.Sort(list, c.start, c.last);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const err::Error& e) {
            EXPECT_EQ(e.record().number, err::ERR_SUBSCRIPT) << c.name;
            EXPECT_NE(err::ErrReportText().find(L"clsArrayOps.Sort(astrArray,lngStartEntry,lngLastEntry)"),
                      std::wstring::npos)
                << c.name << ": the report does not name the procedure";
        }
        EXPECT_EQ(list, (List{L"c", L"b", L"a"})) << c.name << ": the list was changed";
    }
}

TEST(ArrayOps, SearchFindsEveryElementAndNothingElse) {
    ArrayOps ops;
    for (int size = 0; size <= 50; ++size) {
        // "b00", "b02", ...: the odd numbers lie between the elements, "a" below, "c" above.
        List list;
        auto name = [](int k) { return L"b" + std::wstring(k < 10 ? L"0" : L"") + std::to_wstring(k); };
        for (int k = 0; k < size; ++k)
            list.push_back(name(2 * k));
        for (int k = 0; k < size; ++k)
            EXPECT_EQ(ops.Search(list, list[k]), k) << "size " << size << ", element " << k;
        for (int k = 0; k <= size; ++k)
            EXPECT_EQ(ops.Search(list, name(2 * k - 1)), -1)
                << "size " << size << ", between, " << name(2 * k - 1);
        EXPECT_EQ(ops.Search(list, L"a"), -1) << "size " << size << ", below";
        EXPECT_EQ(ops.Search(list, L"c"), -1) << "size " << size << ", above";
        EXPECT_EQ(ops.Search(list, L""), -1) << "size " << size << ", empty text";
    }
}

TEST(ArrayOps, SearchDuplicatesAndPrefixes) {
    struct Case {
        const char* name;
        List list;
        std::wstring value;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {"first of duplicates", {L"a", L"b", L"b", L"b", L"c"}, L"b", 1},
        {"all equal", {L"x", L"x", L"x"}, L"x", 0},
        {"prefix is not a match", {L"ab", L"abc"}, L"a", -1},
        {"longer is not a match", {L"a", L"ab"}, L"abc", -1},
        {"case matters", {L"A", L"B"}, L"a", -1},
        {"empty text present", {L"", L"a"}, L"", 0},
    };
    ArrayOps ops;
    for (const auto& c : cases)
        EXPECT_EQ(ops.Search(c.list, c.value), c.expected) << c.name;
}
