#include "client/status.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

// The table is what the client's data and the status list are built from: codes the client
// stores, keys the list looks items up by, pictures 1-7 and message value names.
TEST(StatusTable, RowsAreTheClientsStatusesInListOrder) {
    struct Row {
        int32_t code;
        const wchar_t* name;
        const wchar_t* valueName;
    };
    const Row expected[] = {
        {0, L"Online", L""},
        {1, L"Away", L"AwayStatusText"},
        {2, L"DND", L"DNDStatusText"},
        {4, L"N/A", L"NAStatusText"},
        {16, L"Occupied", L"BusyStatusText"},
        {32, L"Free For Chat", L"ChatStatusText"},
        {257, L"Invisible", L""},
    };
    ASSERT_EQ(status::kStatuses.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const auto& row = status::kStatuses[i];
        SCOPED_TRACE("row " + std::to_string(i) + " code " + std::to_string(row.code));
        EXPECT_EQ(row.code, expected[i].code);
        EXPECT_EQ(std::wstring(row.name), expected[i].name);
        EXPECT_EQ(row.picture, static_cast<int>(i) + 1) << "pictures follow the list order";
        EXPECT_EQ(std::wstring(row.listKey), status::ListKey(row.code)) << "list key is \"s\" + code";
        EXPECT_EQ(row.MessageValueName(), expected[i].valueName);
        EXPECT_EQ(row.HasMessage(), !std::wstring(expected[i].valueName).empty());
        EXPECT_EQ(status::Find(row.code), &row);
        EXPECT_EQ(status::CodeFromListKey(row.listKey), row.code);
    }
}

TEST(StatusTable, CodesOutsideTheTableHaveNoRowNoMessageNoKey) {
    for (int32_t code : {-1, 3, 8, 64, 255, 256, 258, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE("code " + std::to_string(code));
        EXPECT_EQ(status::Find(code), nullptr);
        EXPECT_EQ(status::MessageValueName(code), L"");
    }
    for (const wchar_t* key : {L"", L"s", L"1", L"S1", L"s01", L"s 1", L"s1 ", L"s256", L"s-1", L"sx"}) {
        SCOPED_TRACE("key '" + Narrow(key) + "'");
        EXPECT_EQ(status::CodeFromListKey(key), std::nullopt);
    }
}

TEST(StatusTable, InvisibleAliasReadsAsInvisibleOthersUnchanged) {
    const std::pair<int32_t, int32_t> cases[] = {{256, 257}, {257, 257}, {0, 0},
                                                 {1, 1},     {255, 255}, {-256, -256}};
    for (auto [stored, expected] : cases)
        EXPECT_EQ(status::Normalize(stored), expected) << "stored " << stored;
}
