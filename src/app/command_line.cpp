#include "app/command_line.h"

#include "client/icq_number.h"
#include "client/status.h"
#include "language/translate.h"
#include "platform/arguments.h"

#include <array>

namespace velmora::app::command_line {
namespace {

enum Switch { kUser, kStatus, kMessage, kDirect, kManual, kHelp, kSwitchCount };

struct SwitchInfo {
    const wchar_t* name;
    Switch id;
    bool takesValue;
};
constexpr std::array<SwitchInfo, 8> kSwitches{{
    {L"user", kUser, true},
    {L"status", kStatus, true},
    {L"message", kMessage, true},
    {L"direct", kDirect, false},
    {L"manual", kManual, false},
    {L"?", kHelp, false},
    {L"h", kHelp, false},
    {L"help", kHelp, false},
}};

constexpr wchar_t kUnknownSwitch[] = L"Unknown switch";
constexpr wchar_t kGivenTwice[] = L"This switch is given twice";
constexpr wchar_t kDirectAndManual[] = L"/direct and /manual cannot be used together";
constexpr wchar_t kNeedsValue[] = L"This switch needs a value after a colon";
constexpr wchar_t kTakesNoValue[] = L"This switch takes no value";
constexpr wchar_t kUnknownStatus[] = L"Unknown status";
constexpr wchar_t kNeedsUser[] = L"This switch needs /user";
constexpr wchar_t kNoMessage[] = L"This status has no message";

constexpr wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Ordinal and by ASCII letters only: no user locale can make two texts equal or different here.
bool SameWord(std::wstring_view text, std::wstring_view word) {
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (AsciiLower(text[i]) != word[i])
            return false;
    return true;
}

struct ReadSwitch {
    const SwitchInfo* info = nullptr;
    std::optional<std::wstring_view> value; // after the colon
    const wchar_t* problem = nullptr;
};

// A known name run into more than its colon ("/user123", "/direct1") is named as that switch
// written wrongly; a longer word ("/directly") is another switch, and unknown.
ReadSwitch Read(std::wstring_view argument) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-'))
        return {nullptr, {}, kUnknownSwitch};
    std::wstring_view rest = argument.substr(1);
    size_t colon = rest.find(L':');
    std::wstring_view name = rest.substr(0, colon);
    for (const SwitchInfo& info : kSwitches)
        if (SameWord(name, info.name))
            return {&info, colon == rest.npos ? std::nullopt : std::optional(rest.substr(colon + 1))};
    for (const SwitchInfo& info : kSwitches) {
        size_t length = std::wstring_view(info.name).size();
        wchar_t next = name.size() > length ? AsciiLower(name[length]) : L'a';
        if (SameWord(name.substr(0, length), info.name) && (next < L'a' || next > L'z'))
            return {&info, {}, info.takesValue ? kNeedsValue : kTakesNoValue};
    }
    return {nullptr, {}, kUnknownSwitch};
}

// A status word or the decimal code of a status in the table (256 reads as 257).
std::optional<int32_t> StatusCode(std::wstring_view value) {
    for (const auto& status : status::kStatuses)
        if (SameWord(value, status.word))
            return status.code;
    if (value.empty() || value.size() > 9 || value.find_first_not_of(L"0123456789") != value.npos)
        return std::nullopt;
    int32_t code = 0;
    for (wchar_t c : value)
        code = code * 10 + (c - L'0');
    code = status::Normalize(code);
    return status::Find(code) ? std::optional(code) : std::nullopt;
}

Parsed Wrong(const wchar_t* problem, std::wstring argument) {
    return {Kind::Wrong, {}, problem, std::move(argument)};
}

} // namespace

Parsed Parse(std::wstring_view commandLine) {
    std::vector<std::wstring> arguments = platform::SplitCommandLine(commandLine);
    arguments.erase(arguments.begin());
    if (arguments.empty())
        return {};
    for (const std::wstring& argument : arguments) {
        ReadSwitch read = Read(argument);
        if (read.info && read.info->id == kHelp && !read.problem && !read.value)
            return {Kind::Help};
    }
    Parsed parsed{Kind::Start};
    StartRequest& request = parsed.request;
    std::array<std::wstring, kSwitchCount> given; // each switch's argument, once it was given
    std::wstring needsUser;                       // the first switch that means nothing without /user
    for (const std::wstring& argument : arguments) {
        ReadSwitch read = Read(argument);
        if (read.problem)
            return Wrong(read.problem, argument);
        Switch id = read.info->id;
        if (!given[id].empty())
            return Wrong(kGivenTwice, argument);
        given[id] = argument;
        if (read.info->takesValue ? !read.value || (read.value->empty() && id != kMessage)
                                  : read.value.has_value())
            return Wrong(read.info->takesValue ? kNeedsValue : kTakesNoValue, argument);
        if (!given[kDirect].empty() && !given[kManual].empty())
            return Wrong(kDirectAndManual, argument);
        if (id != kUser && needsUser.empty())
            needsUser = argument;
        if (id == kUser) {
            request.typedUser = *read.value;
            request.user = CanonicalIcqNumber(*read.value);
        } else if (id == kStatus) {
            request.status = StatusCode(*read.value);
            if (!request.status)
                return Wrong(kUnknownStatus, argument);
        } else if (id == kMessage) {
            request.message = *read.value;
        } else {
            request.direct = id == kDirect;
        }
    }
    if (given[kUser].empty())
        return Wrong(kNeedsUser, needsUser);
    if (request.message && request.status && !status::Find(*request.status)->HasMessage())
        return Wrong(kNoMessage, given[kMessage]);
    return parsed;
}

Parsed ParseArguments(std::wstring_view arguments) {
    return Parse(L"velmora.exe " + std::wstring(arguments));
}

std::wstring BuildArguments(const StartRequest& request) {
    std::wstring text = platform::QuoteArgumentForShell(L"/user:" + request.user.value_or(request.typedUser));
    const status::StatusInfo* status =
        request.status ? status::Find(status::Normalize(*request.status)) : nullptr;
    if (status)
        text += std::wstring(L" /status:") + status->word;
    if (request.message && (!status || status->HasMessage()))
        text += L" " + platform::QuoteArgumentForShell(L"/message:" + *request.message);
    if (request.direct)
        text += *request.direct ? L" /direct" : L" /manual";
    return text;
}

std::wstring UsageText() {
    std::wstring words;
    for (const auto& status : status::kStatuses)
        words += (words.empty() ? L"" : L"|") + std::wstring(status.word);
    const std::pair<std::wstring, std::wstring> lines[] = {
        {L"/user:NUMBER", Translate(L"the ICQ number of the user to start ICQ Lite for")},
        {L"/status:" + words, Translate(L"the status; without it, the user's last status")},
        {L"/message:TEXT", Translate(L"the message for that status; without it, the stored message stays")},
        {L"/direct, /manual",
         Translate(L"log in directly, or open the login window, whatever the settings say")},
        {L"/?", Translate(L"shows this help")},
    };
    std::wstring text =
        L"velmora.exe /user:NUMBER [/status:STATUS] [/message:TEXT] [/direct | /manual]\r\n\r\n" +
        Translate(L"Starts ICQ Lite for one user without showing the window.") + L"\r\n";
    for (const auto& [syntax, meaning] : lines)
        text += L"\r\n" + syntax + L" \u2013 " + meaning;
    return text;
}

std::wstring WrongText(const Parsed& parsed) {
    return Translate(parsed.problem ? parsed.problem : L"") + L": " +
           platform::QuoteArgument(parsed.argument) + L"\r\n\r\n" + UsageText();
}

std::wstring ChoiceTitle(const StartRequest& request) {
    std::wstring title = L"ICQ Lite " + request.user.value_or(request.typedUser);
    const status::StatusInfo* status =
        request.status ? status::Find(status::Normalize(*request.status)) : nullptr;
    return status ? title + L" (" + Translate(status->name) + L")" : title;
}

std::wstring ChoiceDescription(const StartRequest& request) {
    std::wstring description = ChoiceTitle(request);
    if (request.message && !request.message->empty()) {
        description += L": ";
        for (wchar_t c : *request.message)
            description.push_back(c == L'\r' || c == L'\n' ? L' ' : c);
    }
    return description;
}

} // namespace velmora::app::command_line
