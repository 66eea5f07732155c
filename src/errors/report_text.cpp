#include "errors/report_text.h"

#include "errors/err_trace.h"

#include <algorithm>
#include <array>
#include <vector>

namespace velmora::err {
namespace {

constexpr std::wstring_view kCrLf = L"\r\n";
constexpr size_t kCallStackWidth = 100;
// Longer values (counted with their quotes) go into a "Value Of" block below the call-stack line.
constexpr size_t kInlineValueLimit = 40;
constexpr std::wstring_view kBlockIndent = L"      ";

// The header is one template so that its layout can be read at a glance. Each %Name% is filled in
// a single pass over the template; the values themselves are never scanned again.
constexpr std::wstring_view kHeaderTemplate =
    L"%Descr% %nl%  Time='%Time%' App='%App%:%Ver%' ADO-version='%ADOVersion%' Computer='%Comp%' %nl%"
    L"  Method: %MethodName% %nl%"
    L"  Number: %ErrNum% = &H%ErrHex% = vbObjectError %ErrNumRel1% = ERRMAP_APP_FIRST %ErrNumRel2% "
    L"%ErrStd%%nl%"
    L"  Source: %Source% %nl%  Description: %Descr%%nl%";

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::wstring TwoDigits(int value) {
    value = ((value % 100) + 100) % 100;
    return {static_cast<wchar_t>(L'0' + value / 10), static_cast<wchar_t>(L'0' + value % 10)};
}

bool HasLineBreak(std::wstring_view text) {
    return text.find_first_of(L"\r\n") != std::wstring_view::npos;
}

// Every line break (CR LF, or a lone CR or LF) becomes CR LF followed by the block indentation, so
// that no value can start a line of its own in the report.
std::wstring IndentBlock(std::wstring_view text) {
    std::wstring out(kBlockIndent);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            out += kCrLf;
            out += kBlockIndent;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::wstring_view> SplitNames(std::wstring_view names) {
    std::vector<std::wstring_view> parts;
    if (names.empty())
        return parts;
    size_t start = 0;
    for (;;) {
        size_t comma = names.find(L',', start);
        parts.push_back(
            names.substr(start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start));
        if (comma == std::wstring_view::npos)
            return parts;
        start = comma + 1;
    }
}

} // namespace

ArgValues ToValues(ArgList args) {
    if (args.empty())
        return ArgValues{Missing{}};
    ArgValues values;
    values.reserve(args.size());
    for (const ArgRef& arg : args)
        values.push_back(arg.Get());
    return values;
}

Signature ParseSignature(std::wstring_view signature) {
    Signature parts;
    size_t open = signature.find(L'(');
    parts.method = std::wstring(signature.substr(0, open));
    if (open == std::wstring_view::npos)
        return parts;
    std::wstring_view second = signature.substr(open + 1);
    second = second.substr(0, second.find(L'('));
    if (!second.empty())
        parts.argNames = std::wstring(second.substr(0, second.size() - 1));
    return parts;
}

bool IsMappedError(int32_t number) {
    return number >= ERRMAP_FIRST && number <= ERRMAP_LAST;
}

std::wstring SignedText(int64_t value) {
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return (value < 0 ? L"- " : L"+ ") + std::to_wstring(magnitude);
}

std::wstring HexText(int32_t number) {
    auto pattern = static_cast<uint32_t>(number);
    std::wstring text;
    do {
        text.insert(text.begin(), L"0123456789ABCDEF"[pattern & 0xF]);
        pattern >>= 4;
    } while (pattern != 0);
    return text;
}

std::wstring BuildReportHeader(const HeaderError& error, std::wstring_view method, const HeaderFacts& facts) {
    const std::array<std::pair<std::wstring_view, std::wstring>, 14> values{{
        {L"nl", std::wstring(kCrLf)},
        {L"MethodName", std::wstring(method)},
        {L"Comp", facts.computer},
        {L"Time", facts.time},
        {L"App", facts.app},
        {L"Ver", facts.version},
        {L"ADOVersion", facts.adoVersion},
        {L"ErrNum", std::to_wstring(error.number)},
        {L"ErrHex", HexText(error.number)},
        {L"ErrNumRel1", SignedText(int64_t{error.number} - vbObjectError)},
        {L"ErrNumRel2", SignedText(int64_t{error.number} - ERRMAP_APP_FIRST)},
        {L"ErrStd", error.number == ERR_GENERAL ? L"= ERR_GENERAL" : L""},
        {L"Source", std::wstring(error.source)},
        {L"Descr", std::wstring(error.description)},
    }};
    std::wstring header;
    for (size_t i = 0; i < kHeaderTemplate.size();) {
        if (kHeaderTemplate[i] == L'%') {
            size_t end = kHeaderTemplate.find(L'%', i + 1);
            if (end != std::wstring_view::npos) {
                std::wstring_view name = kHeaderTemplate.substr(i + 1, end - i - 1);
                auto found = std::find_if(values.begin(), values.end(),
                                          [&](const auto& v) { return v.first == name; });
                if (found != values.end()) {
                    header += found->second;
                    i = end + 1;
                    continue;
                }
            }
        }
        header += kHeaderTemplate[i++];
    }
    return header;
}

std::wstring SystemErrorLine(int32_t code, std::wstring_view apiText) {
    if (code == 0 || code == 203)
        return {};
    return L"  API Error: (" + std::to_wstring(code) + L") " + std::wstring(apiText) + std::wstring(kCrLf);
}

std::wstring PadRight(std::wstring text, wchar_t fill, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), fill);
    return text;
}

std::wstring TimeStamp(const CalendarDate& date, const ClockTime& time, std::wstring_view dateSeparator,
                       std::wstring_view timeSeparator) {
    std::wstring text = TwoDigits(date.month);
    text += dateSeparator;
    text += TwoDigits(date.day);
    text += dateSeparator;
    text += TwoDigits(date.year);
    text += L" ";
    text += TwoDigits(time.hour);
    text += timeSeparator;
    text += TwoDigits(time.minute);
    text += timeSeparator;
    text += TwoDigits(time.second);
    return text;
}

std::wstring FormatValue(const Value& value) noexcept {
    try {
        return std::visit(Overloaded{
                              [](const Missing&) { return std::wstring(); },
                              [](const Array&) { return std::wstring(L"{Array}"); },
                              [](int16_t v) { return std::to_wstring(v); },
                              [](int32_t v) { return std::to_wstring(v); },
                              [](bool v) { return std::wstring(v ? L"True" : L"False"); },
                              [](const std::wstring& v) { return L"'" + v + L"'"; },
                              [](const ObjectRef& v) {
                                  return L"{" + (v.typeName.empty() ? std::wstring(L"Nothing") : v.typeName) +
                                         L"}";
                              },
                          },
                          value);
    } catch (...) {
        return {};
    }
}

std::wstring IndentXml(std::wstring_view quoted) {
    std::wstring_view xml = quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::wstring_view();
    size_t open = xml.find(L'<');
    std::wstring out(xml.substr(0, open));
    int depth = 0;
    bool first = true;
    while (open != std::wstring_view::npos) {
        size_t next = xml.find(L'<', open + 1);
        std::wstring_view piece =
            xml.substr(open + 1, next == std::wstring_view::npos ? std::wstring_view::npos : next - open - 1);
        bool closing = !piece.empty() && piece.front() == L'/';
        if (closing && depth > 0)
            --depth;
        if (!first)
            out += kCrLf;
        out.append(static_cast<size_t>(2 * depth), L' ');
        out += L'<';
        out += piece;
        if (!closing && piece.find(L"/>") == std::wstring_view::npos)
            ++depth;
        first = false;
        open = next;
    }
    return out;
}

FormattedArgs FormatArgs(std::wstring_view names, const ArgValues& values) {
    FormattedArgs out;
    std::vector<std::wstring_view> nameList = SplitNames(names);
    for (size_t i = 0; i < values.size(); ++i) {
        std::wstring_view name = i < nameList.size() ? nameList[i] : std::wstring_view();
        std::wstring text = FormatValue(values[i]);
        if (HasLineBreak(text) || text.size() > kInlineValueLimit) {
            if (name.starts_with(L"xml") && text.starts_with(L"'<"))
                text = IndentXml(text);
            if (!out.valueBlocks.empty())
                out.valueBlocks += kCrLf;
            out.valueBlocks += L"    Value Of ";
            out.valueBlocks += name;
            out.valueBlocks += L":";
            out.valueBlocks += kCrLf;
            out.valueBlocks += IndentBlock(text);
            text = L"{Text}";
        }
        if (i > 0)
            out.list += L", ";
        if (!name.empty()) {
            out.list += name;
            out.list += L"=";
        }
        out.list += text;
    }
    return out;
}

std::wstring CallStackEntry(std::wstring_view method, std::wstring_view argNames, const ArgValues& values,
                            int32_t line) {
    FormattedArgs formatted = FormatArgs(argNames, values);
    std::wstring head = L"  Call Stack: " + std::wstring(method) + L"(" + formatted.list + L")";
    if (line != 0)
        head += L"  at Line " + std::to_wstring(line);
    head += L" ";
    std::wstring entry = PadRight(std::move(head), L'-', kCallStackWidth) + std::wstring(kCrLf);
    if (!formatted.valueBlocks.empty())
        entry += formatted.valueBlocks + std::wstring(kCrLf);
    return entry;
}

std::wstring DisplayText(std::wstring text) {
    std::replace(text.begin(), text.end(), L'\0', L'\u2400');
    return text;
}

} // namespace velmora::err
