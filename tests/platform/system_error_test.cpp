// The system's words for an error code: no insert marker the message could not fill reaches the
// user, and the rest of the text stays as the system wrote it.
#include "platform/system_error.h"

#include <gtest/gtest.h>

using namespace velmora::platform;

TEST(SystemError, InsertsGiveWayToAWordAndTheLineKeepsItsText) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"%1 is not a valid Win32 application.\r\n", L"The program is not a valid Win32 application."},
        {L"Line one. %2!s! and %12 or %99!lu!", L"Line one. The program and the program or the program"},
        {L"Done!%3? %4!unclosed", L"Done!The program? The program!unclosed"},
        {L"100% sure, %0, %a, %!1!, %", L"100% sure, %0, %a, %!1!, %"},
        {std::wstring(L"a\r\nb\0c\r\r\n\nd\r", 13), L"abcd\r"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(MessageForOneLine(text), expected) << testing::PrintToString(text);
    // The real message table: 193 holds an insert on Windows and under Wine alike ("Bad EXE format for
    // the program." here, "The program is not a valid Win32 application." on an English Windows).
    std::wstring real = ApiErrorText(193);
    EXPECT_TRUE(real.find(L"he program") != std::wstring::npos &&
                real.find_first_of(L"%\r\n") == std::wstring::npos)
        << testing::PrintToString(real);
    EXPECT_EQ(ApiErrorText(0xDEAD), L"") << "a code without a message";
}
