// The mail link of the error report (the link as a whole is checked by the report window's test).
#include "errors/mailto.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace velmora::err {
namespace {

// UTF-8 percent-encoded; a long report is cut at a character, never inside one or its %XX group.
TEST(ErrMailto, PercentEncodingAndCut) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"AZaz09-._~&=?#%+:/@", L"AZaz09-._~%26%3D%3F%23%25%2B%3A%2F%40"},
        {L"\x00FC\x05D0\x20AC", L"%C3%BC%D7%90%E2%82%AC"},                  // two- and three-byte characters
        {L"\xD83D\xDE00\xD83Dx\xDE00", L"%F0%9F%98%80%EF%BF%BDx%EF%BF%BD"}, // a pair is one; halves
    };
    for (auto [text, encoded] : cases)
        EXPECT_EQ(PercentEncode(text), encoded) << testing::PrintToString(std::wstring(text));

    std::wstring emoji, mixed;
    for (int i = 0; i < 1000; ++i) {
        emoji += L"\xD83D\xDE00";
        mixed += L"a \x05D0\r\n";
    }
    for (const std::wstring& body : {std::wstring(5000, L' '), emoji, mixed}) { // 3, 12, 16 characters each
        SCOPED_TRACE(testing::PrintToString(body.substr(0, 4)));
        std::wstring url = BuildMailto(L"support@ardentix.example", L"Velmora error report", body);
        EXPECT_LE(url.size(), kMaxMailtoLength);
        EXPECT_GE(url.size(), kMaxMailtoLength - 12) << "cut far too early";
        EXPECT_TRUE(url.ends_with(L"%0D%0A%5B...%5D")) << "no marker at the cut";
        // The body decoded: no %XX group was cut, and no character split.
        std::string bytes;
        for (size_t i = url.find(L"&body=") + 6; i < url.size(); ++i) {
            bool group = url[i] == L'%';
            ASSERT_TRUE(!group || i + 2 < url.size()) << "a %XX group was cut";
            bytes += group ? char(std::stoi(url.substr(i + 1, 2), nullptr, 16)) : char(url[i]);
            i += group ? 2 : 0;
        }
        EXPECT_TRUE(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), 0, 0))
            << "a character was split";
    }
}

} // namespace
} // namespace velmora::err
