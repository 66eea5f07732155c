// The command line as Velmora reads and writes it. The whole exe also runs under a Turkish user
// locale, whose casing of I and i must not change what a switch or status word means.
#include "app/command_line.h"

#include "language/keys.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>

using namespace velmora;
using namespace velmora::app::command_line;

namespace {

// "none", "help", "wrong <problem>: <argument>", or
// "start <typed>><number|?> <status|-> [<message>]|- <direct|manual|->".
std::wstring Shown(const Parsed& p) {
    const StartRequest& r = p.request;
    if (p.kind != Kind::Start)
        return p.kind == Kind::Wrong ? std::wstring(L"wrong ") + p.problem + L": " + p.argument
                                     : (p.kind == Kind::Help ? L"help" : L"none");
    return L"start " + r.typedUser + L">" + r.user.value_or(L"?") + L" " +
           (r.status ? std::to_wstring(*r.status) : L"-") + L" " +
           (r.message ? L"[" + *r.message + L"]" : L"-") + L" " +
           (r.direct ? (*r.direct ? L"direct" : L"manual") : L"-");
}

} // namespace

TEST(CommandLine, ReadsEverySwitchAndNamesWhatIsWrong) {
    // A locale-aware comparison fails the rows with an I under tr_TR: that run proves it has Turkish casing.
    wchar_t upper[2] = {};
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, L"i", 1, upper, 2);
    ASSERT_TRUE(!std::getenv("LC_ALL") || !std::string(std::getenv("LC_ALL")).starts_with("tr_") ||
                upper[0] == L'\u0130')
        << "the Turkish run has no Turkish casing: i is upper " << int(upper[0]);
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        // clang-format off
        {L"", L"none"}, {L" \t ", L"none"}, {L"/?", L"help"}, {L"-?", L"help"}, {L"-h", L"help"}, {L"/HELP", L"help"},
        {L"/user:1 /bad -Help", L"help"}, {L"/help:x", L"wrong This switch takes no value: /help:x"},
        {L"/user:123-456", L"start 123-456>123456 - - -"}, {L"-USER:42 /Status:AWAY", L"start 42>42 1 - -"},
        {L"\"/user: 7 \"", L"start  7 >7 - - -"}, {L"/user:12a", L"start 12a>? - - -"}, {L"/user:0", L"start 0>? - - -"},
        {L"/user:1 /status:away \"/message:Out for lunch\"", L"start 1>1 1 [Out for lunch] -"},
        {L"/user:1 /message:\"Out for lunch\"", L"start 1>1 - [Out for lunch] -"},
        {L"/user:1 /status:na /message:", L"start 1>1 4 [] -"}, {L"/user:1 /message:/user:2", L"start 1>1 - [/user:2] -"},
        {L"/user:1 \"/message:a \\\"b\\\" c:d\\\\\"", L"start 1>1 - [a \"b\" c:d\\] -"},
        {L"/user:1 /DIRECT", L"start 1>1 - - direct"}, {L"/status:dnd -MANUAL /user:1", L"start 1>1 2 - manual"},
        {L"/foo", L"wrong Unknown switch: /foo"}, {L"123", L"wrong Unknown switch: 123"}, {L"/", L"wrong Unknown switch: /"},
        {L"\"\"", L"wrong Unknown switch: "}, {L"/user:1 --user:2", L"wrong Unknown switch: --user:2"},
        {L"/user:1 /directly", L"wrong Unknown switch: /directly"}, {L"/user:1 /d\u0131rect", L"wrong Unknown switch: /d\u0131rect"},
        {L"/user:1 /USER:2", L"wrong This switch is given twice: /USER:2"}, {L"/user:1 /direct /direct", L"wrong This switch is given twice: /direct"},
        {L"/user:1 /status:away /status:na", L"wrong This switch is given twice: /status:na"},
        {L"/user:1 /direct -manual", L"wrong /direct and /manual cannot be used together: -manual"},
        {L"/user", L"wrong This switch needs a value after a colon: /user"}, {L"/user:", L"wrong This switch needs a value after a colon: /user:"},
        {L"/user:1 /status", L"wrong This switch needs a value after a colon: /status"}, {L"/user:1 /status:", L"wrong This switch needs a value after a colon: /status:"},
        {L"/user:1 /message", L"wrong This switch needs a value after a colon: /message"}, {L"/user123", L"wrong This switch needs a value after a colon: /user123"},
        {L"/user:1 /direct:yes", L"wrong This switch takes no value: /direct:yes"}, {L"/user:1 /manual:", L"wrong This switch takes no value: /manual:"},
        {L"/user:1 /direct1", L"wrong This switch takes no value: /direct1"},
        {L"/status:away", L"wrong This switch needs /user: /status:away"}, {L"/direct /message:x", L"wrong This switch needs /user: /direct"},
        {L"/user:1 /status:online /message:x", L"wrong This status has no message: /message:x"},
        {L"/message: /user:1 /status:256", L"wrong This status has no message: /message:"},
        {L"/user:1 /status:busy", L"wrong Unknown status: /status:busy"},
        // clang-format on
    };
    for (const auto& [line, expected] : cases) {
        Parsed parsed = Parse(std::wstring(L"\"C:\\Program Files\\velmora.exe\" ") + line);
        EXPECT_EQ(test::Narrow(Shown(parsed)), test::Narrow(expected)) << "for " << test::Narrow(line);
        EXPECT_TRUE(!parsed.problem || std::ranges::find(keys::kAll, parsed.problem) != keys::kAll.end())
            << test::Narrow(parsed.problem) << " is no listed translation key";
    }
    const std::pair<const wchar_t*, int> statuses[] = {
        // clang-format off
        {L"online", 0}, {L"AWAY", 1}, {L"Na", 4}, {L"occupied", 16}, {L"DnD", 2}, {L"chat", 32}, {L"INVISIBLE", 257},
        {L"0", 0}, {L"1", 1}, {L"2", 2}, {L"4", 4}, {L"16", 16}, {L"32", 32}, {L"257", 257}, {L"256", 257}, {L"0016", 16},
        {L"3", -1}, {L"-1", -1}, {L"+1", -1}, {L"1 ", -1}, {L"0x1", -1}, {L"255", -1}, {L"4294967297", -1},
        {L"\u0131nvisible", -1}, {L"\u0130NVISIBLE", -1}, {L"free for chat", -1}, {L"N/A", -1},
        // clang-format on
    };
    for (const auto& [word, code] : statuses) {
        Parsed parsed = ParseArguments(L"/user:1 \"/status:" + std::wstring(word) + L"\"");
        EXPECT_EQ(parsed.kind == Kind::Start ? parsed.request.status.value_or(-2) : -1, code)
            << test::Narrow(word) << " read as " << test::Narrow(Shown(parsed));
    }
}

// What a shortcut or a jump-list task runs gives the same request back, however hostile the message.
TEST(CommandLine, BuiltArgumentsReadBackAsTheRequest) {
    SetEnvironmentVariableW(L"VELMORA_X", L"expanded");
    EXPECT_EQ(BuildArguments({L"9", L"9", 257, L"x", false}), L"/user:9 /status:invisible /manual");
    const std::wstring messages[] = {
        // clang-format off
        L"", L"\"", L"\\", L"Out\\", L"a \"quoted\" b\\\\", L"%PATH%", L"%VELMORA_X%\\", L"50% \"%\"", L"\t\r\n",
        L"line 1\r\nline 2", L"\x00e4\x05D0\x20ac\U0001F600", L"/user:2 /status:na", L"  blanks  ",
        // clang-format on
    };
    for (const std::wstring& message : messages) {
        for (int32_t status : {1, 4, 16, 2, 32}) {
            StartRequest request{L"2147483647", L"2147483647", status, message, status == 4};
            std::wstring built = BuildArguments(request), expanded(32768, L'\0');
            expanded.resize(ExpandEnvironmentStringsW(built.c_str(), expanded.data(), 32768) - 1);
            Parsed parsed = ParseArguments(expanded);
            EXPECT_TRUE(parsed.kind == Kind::Start && parsed.request == request)
                << test::Narrow(message) << " built as " << test::Narrow(built) << ", read as "
                << test::Narrow(Shown(parsed));
        }
    }
}

// The usage shows in English as README.md has it; a wrong line names problem and argument first.
TEST(CommandLine, UsageIsTheReadmes) {
    std::string source =
        std::string(VELMORA_SOURCE_DIR[0] == '/' ? "Z:" : "") + VELMORA_SOURCE_DIR "/README.md";
    std::string readme = test::ReadBytes(std::wstring(source.begin(), source.end()));
    std::wstring usage = UsageText();
    for (size_t at = 0, end; at < usage.size(); at = end + 2) {
        end = std::min(usage.find(L"\r\n", at), usage.size());
        std::string line = test::Narrow(usage.substr(at, end - at));
        EXPECT_NE(readme.find(line), std::string::npos) << "README.md lacks the usage line " << line;
    }
    EXPECT_EQ(WrongText(ParseArguments(L"\"/stat us\"")), L"Unknown switch: \"/stat us\"\r\n\r\n" + usage);
}
