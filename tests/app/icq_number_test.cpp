#include "app/icq_number.h"

#include <gtest/gtest.h>

namespace velmora::app {
namespace {

struct NumberCase {
    const wchar_t* typed;
    const wchar_t* canonical; // nullptr: not an ICQ number
};

TEST(IcqNumber, CanonicalFormOrRefusal) {
    const NumberCase cases[] = {
        // Accepted, and what the launcher is handed.
        {L"123456", L"123456"},
        {L"123-456", L"123456"},
        {L"1-2-3", L"123"},
        {L"-42-", L"42"},
        {L" 0042 ", L"42"},
        {L"\t77\t", L"77"},
        {L"1", L"1"},
        {L"2147483647", L"2147483647"},
        {L"0002147483647", L"2147483647"},
        {L"214748-3647", L"2147483647"},
        // Refused.
        {L"", nullptr},
        {L"   ", nullptr},
        {L"0", nullptr},
        {L"000", nullptr},
        {L"---", nullptr},
        {L"0-0", nullptr},
        {L"12a", nullptr},
        {L"a12", nullptr},
        {L"2147483648", nullptr},
        {L"99999999999999999999999", nullptr},
        {L"+5", nullptr},
        {L"1.5", nullptr},
        {L"1.234", nullptr},
        {L"1,234", nullptr},
        {L"123.5", nullptr},
        {L"12 34", nullptr},
        {L"1e5", nullptr},
        {L"\x0661\x0662", nullptr}, // Arabic-Indic digits
        {L"\xFF11\xFF12", nullptr}, // full-width digits
        {L"12\n", nullptr},
    };
    for (const NumberCase& c : cases) {
        std::optional<std::wstring> got = CanonicalIcqNumber(c.typed);
        if (c.canonical) {
            ASSERT_TRUE(got.has_value())
                << "typed \"" << testing::PrintToString(std::wstring(c.typed)) << "\" was refused";
            EXPECT_EQ(*got, c.canonical) << "typed " << testing::PrintToString(std::wstring(c.typed));
        } else {
            EXPECT_FALSE(got.has_value()) << "typed " << testing::PrintToString(std::wstring(c.typed))
                                          << " was accepted as " << testing::PrintToString(got.value_or(L""));
        }
    }
}

} // namespace
} // namespace velmora::app
