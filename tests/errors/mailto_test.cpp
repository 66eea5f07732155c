#include "errors/mailto.h"

#include <gtest/gtest.h>

namespace velmora::err {
namespace {

std::string Narrow(const std::wstring& w) {
    return testing::PrintToString(w);
}

TEST(ErrMailto, PercentEncoding) {
    struct Case {
        const wchar_t* text;
        const wchar_t* encoded;
    };
    const Case cases[] = {
        {L"", L""},
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"a b", L"a%20b"},
        {L"\r\n", L"%0D%0A"},
        {L"&=?#%+:/@", L"%26%3D%3F%23%25%2B%3A%2F%40"},
        {L"\x00FC", L"%C3%BC"},             // ü
        {L"\x05D0", L"%D7%90"},             // Hebrew alef
        {L"\x20AC", L"%E2%82%AC"},          // euro sign
        {L"\xD83D\xDE00", L"%F0%9F%98%80"}, // a surrogate pair: one character
        {L"\xD83D", L"%EF%BF%BD"},          // unpaired high surrogate
        {L"\xDE00x", L"%EF%BF%BDx"},        // unpaired low surrogate
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentEncode(c.text), c.encoded) << "text " << Narrow(c.text);
}

TEST(ErrMailto, ShortReportIsSentWhole) {
    std::wstring url =
        BuildMailto(L"support@ardentix.example", L"Velmora error report", L"Error 5\r\nLine 2");
    EXPECT_EQ(
        url,
        L"mailto:support@ardentix.example?subject=Velmora%20error%20report&body=Error%205%0D%0ALine%202");
}

// A decoded copy of the body part, to check that a cut never splits a character.
std::string DecodeBody(const std::wstring& url) {
    size_t at = url.find(L"&body=");
    std::string bytes;
    for (size_t i = at + 6; i < url.size(); ++i) {
        if (url[i] == L'%') {
            EXPECT_LE(i + 2, url.size() - 1) << "a cut %XX group at the end of " << Narrow(url);
            bytes.push_back(static_cast<char>(
                std::stoi(std::string(url.begin() + i + 1, url.begin() + i + 3), nullptr, 16)));
            i += 2;
        } else {
            bytes.push_back(static_cast<char>(url[i]));
        }
    }
    return bytes;
}

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += extra + 1;
    }
    return true;
}

TEST(ErrMailto, LongReportsAreCutCleanly) {
    struct Case {
        const char* name;
        std::wstring body;
    };
    const Case cases[] = {
        {"plain letters", std::wstring(5000, L'x')},
        {"blanks (three characters each)", std::wstring(5000, L' ')},
        {"umlauts (six characters each)", std::wstring(3000, L'\x00E4')},
        {"emoji (twelve characters each)",
         [] {
             std::wstring s;
             for (int i = 0; i < 1000; ++i)
                 s += L"\xD83D\xDE00";
             return s;
         }()},
        {"mixed",
         [] {
             std::wstring s;
             for (int i = 0; i < 800; ++i)
                 s += L"a \x05D0\r\n";
             return s;
         }()},
    };
    for (const Case& c : cases) {
        std::wstring url = BuildMailto(L"support@ardentix.example", L"Velmora error report", c.body);
        EXPECT_LE(url.size(), kMaxMailtoLength) << c.name;
        EXPECT_GE(url.size(), kMaxMailtoLength - 12) << c.name << ": cut far too early, " << url.size();
        EXPECT_EQ(url.rfind(L"%0D%0A%5B...%5D"), url.size() - 15) << c.name << ": no marker at the end";
        std::string body = DecodeBody(url);
        EXPECT_TRUE(ValidUtf8(body)) << c.name << ": a character was split";
    }
}

TEST(ErrMailto, NoBlankAfterTheScheme) {
    std::wstring url = BuildMailto(L"support@ardentix.example", L"s", L"b");
    EXPECT_EQ(url.rfind(L"mailto:support@", 0), 0u) << Narrow(url);
    EXPECT_EQ(url.find(L' '), std::wstring::npos) << Narrow(url);
}

} // namespace
} // namespace velmora::err
