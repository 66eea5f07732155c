#include "errors/mailto.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace velmora::err {
namespace {

TEST(ErrMailto, PercentEncoding) {
    struct Case {
        const wchar_t* text;
        const wchar_t* encoded;
    };
    const Case cases[] = {
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"a b\r\n", L"a%20b%0D%0A"},
        {L"&=?#%+:/@", L"%26%3D%3F%23%25%2B%3A%2F%40"},
        {L"\x00FC\x05D0\x20AC", L"%C3%BC%D7%90%E2%82%AC"}, // two- and three-byte characters
        {L"\xD83D\xDE00", L"%F0%9F%98%80"},                // a surrogate pair is one character
        {L"\xD83Dx\xDE00", L"%EF%BF%BDx%EF%BF%BD"},        // unpaired halves
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentEncode(c.text), c.encoded) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(
        BuildMailto(L"support@ardentix.example", L"Velmora error report", L"Error 5\r\nLine 2"),
        L"mailto:support@ardentix.example?subject=Velmora%20error%20report&body=Error%205%0D%0ALine%202");
}

// The body part of the URL decoded to bytes; false when a %XX group was cut.
bool DecodeBody(const std::wstring& url, std::string& bytes) {
    for (size_t i = url.find(L"&body=") + 6; i < url.size(); ++i) {
        if (url[i] != L'%') {
            bytes.push_back(static_cast<char>(url[i]));
            continue;
        }
        if (i + 2 >= url.size())
            return false;
        bytes.push_back(
            static_cast<char>(std::stoi(std::string(url.begin() + i + 1, url.begin() + i + 3), nullptr, 16)));
        i += 2;
    }
    return true;
}

TEST(ErrMailto, LongReportsAreCutAtACharacter) {
    std::wstring emoji, mixed;
    for (int i = 0; i < 1000; ++i) {
        emoji += L"\xD83D\xDE00";
        mixed += L"a \x05D0\r\n";
    }
    const std::pair<const char*, std::wstring> cases[] = {
        {"letters", std::wstring(5000, L'x')},
        {"blanks, three characters each", std::wstring(5000, L' ')},
        {"umlauts, six each", std::wstring(3000, L'\x00E4')},
        {"emoji, twelve each", emoji},
        {"mixed", mixed},
    };
    for (const auto& [name, body] : cases) {
        std::wstring url = BuildMailto(L"support@ardentix.example", L"Velmora error report", body);
        EXPECT_LE(url.size(), kMaxMailtoLength) << name;
        EXPECT_GE(url.size(), kMaxMailtoLength - 12) << name << ": cut far too early";
        EXPECT_TRUE(url.ends_with(L"%0D%0A%5B...%5D")) << name << ": no marker at the cut";
        std::string bytes;
        ASSERT_TRUE(DecodeBody(url, bytes)) << name << ": a %XX group was cut";
        EXPECT_NE(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, 0),
                  0)
            << name << ": a character was split";
    }
}

} // namespace
} // namespace velmora::err
