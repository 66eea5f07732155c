// The report's pieces on their own, with fixed regional settings so that every text is exact.
#include "errors/err_test_support.h"
#include "errors/report_text.h"

#include <gtest/gtest.h>
#include <climits>
#include <cmath>

using namespace velmora::err;
using velmora::test::Narrow;

namespace {

TEST(ErrTextValues, EachKindAsTheReportShowsIt) {
    ValueFormat comma;
    comma.decimalSeparator = L",";
    // clang-format off
    const std::pair<Value, std::wstring> cases[] = {
        {Missing{}, L""}, {ErrorValue{448}, L""}, {Empty{}, L"{Empty}"}, {Null{}, L"{Null}"}, {Array{3}, L"{Array}"},
        {int16_t{-32768}, L"-32768"}, {INT32_MIN, L"-2147483648"}, {uint8_t{255}, L"255"}, {true, L"True"},
        {0.1 + 0.2, L"0,3"}, {123456789012345678.0, L"1,23456789012346E+17"}, {1.5e-5, L"1,5E-05"},
        {123456789012345.0, L"123456789012345"}, {-0.0, L"0"}, {-HUGE_VAL, L"-Infinity"}, {NAN, L"NaN"},
        {0.1f, L"0,1"}, {16777217.0f, L"1,677722E+07"}, {Currency{15000}, L"1,5"},
        {Currency{INT64_MIN}, L"-922337203685477,5808"}, {Decimal{L"-123.456"}, L"-123,456"},
        {std::wstring(L"it's"), L"'it's'"}, {std::wstring(L"a\0b", 3), std::wstring(L"'a\0b'", 5)},
        {ObjectRef{L"frmInfo"}, L"{frmInfo}"}, {ObjectRef{}, L"{Nothing}"},
        {Date{45000.5}, L"'3/15/2023 12:00:00 PM'"}, {Date{1}, L"'12/31/1899'"}, {Date{0.25}, L"'6:00:00 AM'"},
        {Date{-1.25}, L"'12/29/1899 6:00:00 AM'"}, {Date{-657434}, L"'1/1/0100'"},
        {Date{36525.9999999}, L"'1/1/2000'"}, {Date{2958466}, L""}, {Date{NAN}, L""},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(FormatValue(cases[i].first, comma), cases[i].second)
            << "case " << i << " expecting \"" << Narrow(cases[i].second) << "\"";
}

TEST(ErrTextArgs, InlineValuesAndValueBlocks) {
    const std::wstring x38(38, L'x'), y39(39, L'y'), z40(40, L'z');
    struct Case {
        const char* name;
        std::wstring names;
        ArgList values;
        std::wstring list, blocks;
    } cases[] = {
        {"two values", L"strPath,lngCount", Args(L"C:\\Tools", 3), L"strPath='C:\\Tools', lngCount=3", L""},
        {"38 characters stay inline", L"s", Args(x38), L"s='" + x38 + L"'", L""},
        {"39 characters are 41 quoted", L"s", Args(y39), L"s={Text}",
         L"    Value Of s:\r\n      '" + y39 + L"'"},
        {"40 characters are 42 quoted", L"s", Args(z40), L"s={Text}",
         L"    Value Of s:\r\n      '" + z40 + L"'"},
        {"line breaks of every kind, two blocks", L"str,b", Args(L"a\r\nb\nc\rd", L"2\n"),
         L"str={Text}, b={Text}",
         L"    Value Of str:\r\n      'a\r\n      b\r\n      c\r\n      d'\r\n    Value Of b:\r\n      "
         L"'2\r\n      '"},
        {"more names than values", L"strA,strB,lngC", Args(L"x"), L"strA='x'", L""},
        {"more values than names", L"strA", Args(L"x", 2, true), L"strA='x', 2, True", L""},
        {"xml laid out by tags", L"xmlDoc", Args(L"<root><item id='1'/><name>text</name></root></x>"),
         L"xmlDoc={Text}",
         L"    Value Of xmlDoc:\r\n      <root>\r\n        <item id='1'/>\r\n        <name>text\r\n        "
         L"</name>\r\n"
         L"      </root>\r\n      </x>"},
    };
    for (const auto& c : cases) {
        FormattedArgs got = FormatArgs(c.names, c.values, ValueFormat{});
        EXPECT_EQ(got.list, c.list) << c.name;
        EXPECT_EQ(got.valueBlocks, c.blocks) << c.name << ", blocks:\n" << Narrow(got.valueBlocks);
    }
}

TEST(ErrTextCallStack, SignatureEdgesAndLongLines) {
    const std::wstring long90(90, L'n');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"basICQLite.GetUsers())", L"  Call Stack: basICQLite.GetUsers()=) " + std::wstring(62, L'-')},
        {L"basX.Y(", L"  Call Stack: basX.Y() " + std::wstring(77, L'-')},
        {L"basX." + long90, L"  Call Stack: basX." + long90 + L"() "},
    };
    for (const auto& [signature, line] : cases) {
        Signature sig = ParseSignature(signature);
        EXPECT_EQ(CallStackEntry(sig.method, sig.argNames, NoArgs(), 0, ValueFormat{}), line + L"\r\n")
            << Narrow(signature);
    }
}

} // namespace
