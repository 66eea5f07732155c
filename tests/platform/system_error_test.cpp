// The system's words for an error code: no insert marker the message could not fill reaches the
// user, and the rest of the text stays as the system wrote it.
#include "platform/system_error.h"

#include <gtest/gtest.h>

using namespace velmora::platform;

TEST(SystemError, InsertsGiveWayToAWordAndTheLineKeepsItsText) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"%1 is not a valid Win32 application.\r\n", L"The program is not a valid Win32 application."},
        {L"Bad EXE format for %1.\r\n", L"Bad EXE format for the program."},
        {L"Line one. %2!s! and %12 or %99!lu!", L"Line one. The program and the program or the program"},
        {L"Done!%3? %4", L"Done!The program? The program"},
        {L"100% sure, %0, %a, %!1!, %", L"100% sure, %0, %a, %!1!, %"},
        {L"%1!unclosed", L"The program!unclosed"},
        {std::wstring(L"a\r\nb\0c\r\r\n\nd\r", 13), L"abcd\r"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(MessageForOneLine(text), expected) << testing::PrintToString(text);
}

// The real message table: 193 holds an insert on Windows and under Wine alike.
TEST(SystemError, RealMessagesAreFilledAndOneLine) {
    for (uint32_t code : {2u, 5u, 193u})
        EXPECT_TRUE(!ApiErrorText(code).empty() &&
                    ApiErrorText(code).find_first_of(L"%\n") == std::wstring::npos)
            << code << ": " << testing::PrintToString(ApiErrorText(code));
    // "Bad EXE format for the program." here, "The program is not a valid Win32 application." on
    // an English Windows.
    EXPECT_NE(ApiErrorText(193).find(L"he program"), std::wstring::npos)
        << testing::PrintToString(ApiErrorText(193));
    EXPECT_EQ(ApiErrorText(0xDEAD), L"") << "a code without a message";
}
