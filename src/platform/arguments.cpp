#include "platform/arguments.h"

namespace velmora::platform {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Between quotes; backslashes stay as they are except before a quote, where they are doubled
// (before the closing quote and the quotes around a broken %) or doubled and one more added (an
// escaped quote).
std::wstring Quoted(std::wstring_view argument, bool breakPercents) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        bool quoteFollows = c == L'"' || (c == L'%' && breakPercents);
        quoted.append(quoteFollows ? backslashes * 2 : backslashes, L'\\');
        backslashes = 0;
        if (c == L'"')
            quoted += L"\\\"";
        else if (c == L'%' && breakPercents)
            quoted += L"\"%\""; // quoted part ends, the % stands outside, a new quoted part begins
        else
            quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

} // namespace

// The program name ends at the next quote when it starts with one (a path holds no quotes, so
// nothing is escaped there), else at the first blank. After it, a blank outside quotes ends an
// argument; 2n backslashes before a quote give n backslashes and the quote marks a quoted part,
// 2n+1 give n backslashes and a literal quote. In a run of quotes every third one counts as a
// literal quote, which is how a doubled quote inside a quoted part reads as one and ends the part.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments(1);
    size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        size_t end = line.find(L'"', 1);
        arguments[0] = line.substr(1, end == line.npos ? line.npos : end - 1);
        i = end == line.npos ? line.size() : end + 1;
    } else {
        for (; i < line.size() && !IsBlank(line[i]); ++i)
            arguments[0].push_back(line[i]);
    }
    bool open = false, quoted = false;
    while (i < line.size()) {
        if (IsBlank(line[i]) && !quoted) {
            open = false;
            ++i;
            continue;
        }
        if (!open)
            arguments.emplace_back();
        open = true;
        std::wstring& argument = arguments.back();
        size_t backslashes = 0;
        for (; i < line.size() && line[i] == L'\\'; ++i)
            ++backslashes;
        if (i == line.size() || line[i] != L'"') {
            argument.append(backslashes, L'\\');
            if (backslashes == 0)
                argument.push_back(line[i++]);
            continue;
        }
        argument.append(backslashes / 2, L'\\');
        int quotes = quoted ? 1 : 0;
        if (backslashes % 2 == 1) {
            argument.push_back(L'"');
            ++i;
        }
        for (; i < line.size() && line[i] == L'"'; ++i) {
            if (++quotes == 3) {
                argument.push_back(L'"');
                quotes = 0;
            }
        }
        quoted = quotes == 1;
    }
    return arguments;
}

std::wstring QuoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == argument.npos)
        return std::wstring(argument);
    return Quoted(argument, false);
}

std::wstring QuoteArgumentForShell(std::wstring_view argument) {
    if (argument.find(L'%') == argument.npos)
        return QuoteArgument(argument);
    return Quoted(argument, true);
}

} // namespace velmora::platform
