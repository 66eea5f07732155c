// The version file judged against the program's own version, the version resource's reading, and
// the HTTP seam where no test server can stand in (a name that does not resolve).
#include "platform/http.h"
#include "platform/version_info.h"
#include "update/version_file.h"

#include <gtest/gtest.h>

namespace velmora::update {
namespace {

using Kind = Judgement::Kind;
using platform::ProgramVersion;

constexpr const char* kKindNames[] = {"Newer", "NotNewer", "Empty", "Malformed"};

struct Case {
    std::string_view body;
    Kind kind;
    std::wstring_view url = L"";
    bool httpAllowed = false;
    ProgramVersion own = {1, 0, 8}; // joined: 108
};

TEST(VersionFile, IsJudgedAsNumbersWithATrimmedSafeAddress) {
    const Case cases[] = {
        // Joined digits compare as one number: 11 is older than 108, 1010 newer.
        {"109|https://a.example/v.exe", Kind::Newer, L"https://a.example/v.exe"},
        {"108|https://a.example/v.exe", Kind::NotNewer},
        {"11|https://a.example/v.exe", Kind::NotNewer},
        {"1010|https://a.example/v.exe", Kind::Newer, L"https://a.example/v.exe"},
        {"0109|https://a.example/v.exe", Kind::Newer, L"https://a.example/v.exe"},
        {"999999999999999999|https://a", Kind::Newer, L"https://a", false, {65535, 65535, 65535}},
        // Dotted: part by part.
        {"1.0.10|https://a", Kind::Newer, L"https://a"},
        {"1.0.8|https://a", Kind::NotNewer},
        {"0.9.99|https://a", Kind::NotNewer},
        {"1.1|https://a", Kind::Newer, L"https://a"},
        {"1.0|https://a", Kind::NotNewer},
        {"1.0.0|https://a", Kind::NotNewer, L"", false, {1, 0, 0}},
        // Blanks and line breaks around either field, a byte-order mark, further fields.
        {" 1.0.9 \r\n|\thttps://a.example/v.exe \r\n", Kind::Newer, L"https://a.example/v.exe"},
        {"\xEF\xBB\xBF"
         "1.0.9|https://a/x?y=1&z=%20#f|ignored|x",
         Kind::Newer, L"https://a/x?y=1&z=%20#f"},
        // A newer version without an address.
        {"1.0.9", Kind::Newer},
        {"1.0.9|\r\n", Kind::Newer},
        {"", Kind::Empty},
        {" \r\n\t", Kind::Empty},
        // Not a version.
        {"|https://a", Kind::Malformed},
        {"v1.0.9|https://a", Kind::Malformed},
        {"1.0.9.1|https://a", Kind::Malformed},
        {"1.0.|https://a", Kind::Malformed},
        {"1|0|9", Kind::Malformed},
        {"-109|https://a", Kind::Malformed},
        {"1234567890123456789|https://a", Kind::Malformed},
        {std::string_view("1.0.9\0|https://a", 16), Kind::Malformed},
        {"\x89PNG\r\n\x1a\n\xff\xfe", Kind::Malformed},
        // Not an address to hand on, whether the version is newer or not.
        {"0.0.1|javascript:alert(1)", Kind::Malformed},
        {"1.0.9|file:///C:/Windows/notepad.exe", Kind::Malformed},
        {"1.0.9|http://a/v.exe", Kind::Malformed},
        {"1.0.9|//a/v.exe", Kind::Malformed},
        {"1.0.9|https:///v.exe", Kind::Malformed},
        {"1.0.9|https://a/v 1.exe", Kind::Malformed},
        {"1.0.9|https://a/\"x\"", Kind::Malformed},
        {"1.0.9|https://a\\v.exe", Kind::Malformed},
        {"1.0.9|https://\xc3\xa4.example/", Kind::Malformed},
        // http:// only where the update server itself is http.
        {"1.0.9|http://127.0.0.1:8/v.exe", Kind::Newer, L"http://127.0.0.1:8/v.exe", true},
        {"1.0.9|https://a/v.exe", Kind::Newer, L"https://a/v.exe", true},
    };
    for (const Case& c : cases) {
        Judgement got = JudgeVersionFile(c.body, c.own, c.httpAllowed);
        EXPECT_EQ(kKindNames[static_cast<int>(got.kind)], kKindNames[static_cast<int>(c.kind)])
            << testing::PrintToString(std::string(c.body));
        EXPECT_EQ(got.downloadUrl, c.url) << testing::PrintToString(std::string(c.body));
    }
}

TEST(VersionInfo, RevisionIsTheThirdFieldOfTheResource) {
    // This test exe carries FILEVERSION 3,4,5,7 (tests/errors/version.rc).
    EXPECT_EQ(platform::RunningExeVersion(), (ProgramVersion{3, 4, 5}));
    EXPECT_EQ(platform::VersionText({1, 0, 10}), L"1.0.10");
}

TEST(HttpGet, ANameThatDoesNotResolveIsNoConnection) {
    platform::HttpReply reply =
        platform::HttpGet(L"http://velmora-test.invalid/downloads/x", L"test", std::chrono::seconds(15), 100);
    EXPECT_EQ(static_cast<int>(reply.outcome), static_cast<int>(platform::HttpReply::Outcome::NoConnection))
        << "error " << reply.systemError;
    EXPECT_EQ(reply.systemError, 12007u); // ERROR_WINHTTP_NAME_NOT_RESOLVED
}

} // namespace
} // namespace velmora::update
