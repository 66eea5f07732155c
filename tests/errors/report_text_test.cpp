// The report's argument list and call-stack line on their own.
#include "errors/err_test_support.h"
#include "errors/report_text.h"

#include <gtest/gtest.h>
#include <climits>

using namespace velmora::err;
using velmora::test::Narrow;

namespace {

// A type of the program that becomes a report value of its own, only when an error is recorded.
struct Window {
    const wchar_t* className;
};
Value ToValue(const Window& window) {
    return ObjectRef{window.className};
}

TEST(ErrTextArgs, EveryKindInlineAndValueBlocks) {
    const std::wstring x38(38, L'x'), y39(39, L'y'), z40(40, L'z');
    const std::wstring nul(L"a\0b", 3);
    struct Case {
        const char* name;
        std::wstring names;
        ArgValues values;
        std::wstring list, blocks;
    } cases[] = {
        {"every kind", L"a,b,c,d,e,f,g,h,i",
         ToValues(Args(int16_t{-32768}, INT32_MIN, true, L"it's", nul, ObjectRef{L"frmInfo"}, ObjectRef{},
                       std::vector<std::wstring>{L"x"}, Window{L"frmMain"})),
         L"a=-32768, b=-2147483648, c=True, d='it's', e='" + nul +
             L"', f={frmInfo}, g={Nothing}, h={Array}, i={frmMain}",
         L""},
        {"38 characters stay inline", L"s", ToValues(Args(x38)), L"s='" + x38 + L"'", L""},
        {"39 characters are 41 quoted", L"s", ToValues(Args(y39)), L"s={Text}",
         L"    Value Of s:\r\n      '" + y39 + L"'"},
        {"40 characters are 42 quoted", L"s", ToValues(Args(z40)), L"s={Text}",
         L"    Value Of s:\r\n      '" + z40 + L"'"},
        {"line breaks of every kind, two blocks", L"str,b", ToValues(Args(L"a\r\nb\nc\rd", L"2\n")),
         L"str={Text}, b={Text}",
         L"    Value Of str:\r\n      'a\r\n      b\r\n      c\r\n      d'\r\n    Value Of b:\r\n      "
         L"'2\r\n      '"},
        {"more names than values", L"strA,strB,lngC", ToValues(Args(L"x")), L"strA='x'", L""},
        {"more values than names", L"strA", ToValues(Args(L"x", 2, false)), L"strA='x', 2, False", L""},
        {"xml laid out by tags", L"xmlDoc",
         ToValues(Args(L"<root><item id='1'/><name>text</name></root></x>")), L"xmlDoc={Text}",
         L"    Value Of xmlDoc:\r\n      <root>\r\n        <item id='1'/>\r\n        <name>text\r\n        "
         L"</name>\r\n"
         L"      </root>\r\n      </x>"},
    };
    for (const auto& c : cases) {
        FormattedArgs got = FormatArgs(c.names, c.values);
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
        EXPECT_EQ(CallStackEntry(sig.method, sig.argNames, ToValues(NoArgs()), 0), line + L"\r\n")
            << Narrow(signature);
    }
}

} // namespace
