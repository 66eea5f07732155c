// The program's own splitting of a command line against shell32's CommandLineToArgvW, and quoting
// that both splitters give back unchanged, also after the shell has expanded the environment.
#include "platform/arguments.h"
#include "platform/on_demand.h"

#include <shellapi.h>

#include <gtest/gtest.h>

using namespace velmora::platform;

namespace {

std::vector<std::wstring> SplitByShell(const std::wstring& line) {
    static const auto split =
        on_demand::Function<decltype(&::CommandLineToArgvW)>(L"shell32.dll", "CommandLineToArgvW");
    int count = 0;
    wchar_t** argv = split(line.c_str(), &count);
    std::vector<std::wstring> arguments(argv, argv + (argv ? count : 0));
    LocalFree(argv);
    return arguments;
}

std::wstring Expanded(const std::wstring& text) {
    std::wstring expanded(32768, L'\0');
    expanded.resize(ExpandEnvironmentStringsW(text.c_str(), expanded.data(), DWORD(expanded.size())) - 1);
    return expanded;
}

} // namespace

TEST(Arguments, SplitAsShell32Does) {
    const wchar_t* lines[] = {
        // clang-format off
        L"v.exe", L"  v.exe  a\t\tb  ", L"\"C:\\Program Files\\v.exe\" /user:1", L"\"C:\\a b\\v.exe\"/x y",
        L"\"C:\\unterminated a b", L"v\"x y\".exe a", L"C:\\v.exe\\ a\\b", L"v a\nb c\rd", L"v \"\" \"\" x",
        L"v a\\\\b c\\\\\\\"d \"e\\\\\" f", L"v \"a\"\"b c\" d", L"v \"\"\" x", L"v \"\"\"\" x", L"v \"\"\"\"\"\" x",
        L"v a\"b\"\" c\" d", L"v \\\" \\\\\"a b\"", L"v /message:\"Out for lunch\"", L"v \"unterminated \\",
        L"v \\\\\\\\\"\"\" \"\\", L"v a\"\"\"\"\"\"\"b", L"v \"a\\\\\"\"b\" c", L"v \x00e4\"\x20ac x\"\\z",
        // clang-format on
    };
    for (const wchar_t* line : lines)
        EXPECT_EQ(SplitCommandLine(line), SplitByShell(line)) << testing::PrintToString(std::wstring(line));
    EXPECT_EQ(SplitCommandLine(L""), std::vector<std::wstring>{L""}) << "shell32 gives the exe's path";
}

TEST(Arguments, QuotedTextSplitsBackAsItWas) {
    SetEnvironmentVariableW(L"VELMORA_X", L"expanded");
    const std::wstring texts[] = {
        // clang-format off
        L"", L"\"", L"\\", L"a\\", L"a\\\\", L"\\\"", L"a b", L"a\\ b\\", L"a\"b\"\"c", L" \t ", L"\r\n",
        L"%VELMORA_X%", L"100% %", L"%%", L"%VELMORA_X%\\", L"\"%VELMORA_X%\"", L"%\\\"", L"a\\%VELMORA_X%\\%",
        L"%\"%", L"%PATH%", L"\x00e4\x20ac\U0001F600 %", L"\\\\server\\share\\", L"-\v-",
        // clang-format on
    };
    for (const std::wstring& text : texts) {
        std::wstring plain = L"v " + QuoteArgument(text) + L" next";
        std::wstring forShell = L"v " + QuoteArgumentForShell(text) + L" next";
        const std::vector<std::wstring> expected{L"v", text, L"next"};
        EXPECT_TRUE(SplitCommandLine(plain) == expected && SplitByShell(plain) == expected)
            << testing::PrintToString(text) << " quoted as " << testing::PrintToString(plain);
        EXPECT_TRUE(SplitCommandLine(forShell) == expected && SplitByShell(Expanded(forShell)) == expected)
            << testing::PrintToString(text) << " quoted for the shell as " << testing::PrintToString(forShell)
            << ", expanded " << testing::PrintToString(Expanded(forShell));
    }
    EXPECT_EQ(QuoteArgument(L"/user:123"), L"/user:123") << "a plain argument stays as it is";
}
