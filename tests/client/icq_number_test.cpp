#include "client/icq_number.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IcqNumber, CanonicalFormOrRefusal) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* canonical; // nullptr: not an ICQ number
    };
    const Case cases[] = {
        {L"123456", L"123456"},
        {L"123-456", L"123456"},
        {L"-42-", L"42"},
        {L" 0042 ", L"42"},
        {L"\t77\t", L"77"},
        {L"2147483647", L"2147483647"},
        {L"0002147483647", L"2147483647"},
        {L"214748-3647", L"2147483647"},
        {L"", nullptr},
        {L"   ", nullptr},
        {L"0", nullptr},
        {L"---", nullptr},
        {L"12a", nullptr},
        {L"2147483648", nullptr},
        {L"99999999999999999999", nullptr},
        {L"+5", nullptr},
        {L"1.5", nullptr},
        {L"1,234", nullptr},
        {L"12 34", nullptr},
        {L"12\n", nullptr},
        {L"\x0661\x0662", nullptr},                          // Arabic-Indic digits
        {L"0000000000000000000000-123456789", L"123456789"}, // as long as the user box takes
        {L"00000000000000000000000-123456789", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<std::wstring> got = CanonicalIcqNumber(c.typed);
        EXPECT_EQ(got.value_or(L"<refused>"), c.canonical ? c.canonical : L"<refused>")
            << "typed " << testing::PrintToString(std::wstring(c.typed));
    }
}

} // namespace
} // namespace velmora
