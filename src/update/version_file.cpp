#include "update/version_file.h"

#include <algorithm>
#include <vector>

namespace velmora::update {
namespace {

using Kind = Judgement::Kind;

std::string_view Trim(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Up to 18 digits always fit; more are no version anyone writes.
std::optional<uint64_t> Number(std::string_view digits) {
    if (!AllDigits(digits) || digits.size() > 18)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits)
        value = value * 10 + static_cast<uint64_t>(c - '0');
    return value;
}

// Dotted form: 2 or 3 numbers; a missing revision is 0. Compared as a number triple.
std::optional<int> CompareDotted(std::string_view text, const platform::ProgramVersion& own) {
    std::vector<uint64_t> parts;
    for (size_t start = 0;;) {
        size_t dot = text.find('.', start);
        std::optional<uint64_t> part = Number(text.substr(start, dot - start));
        if (!part)
            return std::nullopt;
        parts.push_back(*part);
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    parts.resize(3, 0);
    const uint64_t mine[] = {own.major, own.minor, own.revision};
    for (size_t i = 0; i < 3; ++i)
        if (parts[i] != mine[i])
            return parts[i] < mine[i] ? -1 : 1;
    return 0;
}

// Joined form: one number against the own version's digits joined the same way.
std::optional<int> CompareJoined(std::string_view text, const platform::ProgramVersion& own) {
    std::optional<uint64_t> offered = Number(text);
    if (!offered)
        return std::nullopt;
    std::optional<uint64_t> mine =
        Number(std::to_string(own.major) + std::to_string(own.minor) + std::to_string(own.revision));
    if (!mine) // longer than any offer can be
        return -1;
    return *offered < *mine ? -1 : *offered > *mine ? 1 : 0;
}

} // namespace

bool IsDownloadUrl(std::wstring_view url, bool httpAllowed) {
    std::wstring_view rest;
    if (url.starts_with(L"https://"))
        rest = url.substr(8);
    else if (httpAllowed && url.starts_with(L"http://"))
        rest = url.substr(7);
    else
        return false;
    // RFC 3986's unreserved and reserved characters and "%": no blanks, quotes, backslashes,
    // angle brackets or control characters.
    constexpr std::wstring_view allowed = L"-._~:/?#[]@!$&'()*+,;=%";
    bool clean = std::all_of(url.begin(), url.end(), [&](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               allowed.find(c) != std::wstring_view::npos;
    });
    size_t hostEnd = rest.find_first_of(L"/?#");
    return clean && hostEnd != 0 && !rest.empty();
}

Judgement JudgeVersionFile(std::string_view body, const platform::ProgramVersion& own, bool httpAllowed) {
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    if (Trim(body).empty())
        return {Kind::Empty, {}};
    size_t bar = body.find('|');
    std::string_view version = Trim(body.substr(0, bar));
    std::string_view address = bar == std::string_view::npos ? std::string_view() : body.substr(bar + 1);
    address = Trim(address.substr(0, address.find('|')));

    std::wstring url(address.begin(), address.end()); // only ASCII passes IsDownloadUrl
    if (!url.empty() && !IsDownloadUrl(url, httpAllowed))
        return {Kind::Malformed, {}};
    std::optional<int> order = version.find('.') != std::string_view::npos ? CompareDotted(version, own)
                                                                           : CompareJoined(version, own);
    if (!order)
        return {Kind::Malformed, {}};
    if (*order <= 0)
        return {Kind::NotNewer, {}};
    return {Kind::Newer, url};
}

} // namespace velmora::update
