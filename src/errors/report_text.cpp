#include "errors/report_text.h"

#include "errors/err_trace.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
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

// Dates as classic Basic keeps them: day 0 is 1899-12-30; the usable years are 100 to 9999.
constexpr int64_t kFirstDateDay = -657434; // 100-01-01
constexpr int64_t kLastDateDay = 2958465;  // 9999-12-31
constexpr int64_t kDaysFrom1970To1899_12_30 = -25569;

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::wstring TwoDigits(int value) {
    value = ((value % 100) + 100) % 100;
    return {static_cast<wchar_t>(L'0' + value / 10), static_cast<wchar_t>(L'0' + value % 10)};
}

std::wstring ZeroPadded(int value, size_t width) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), L'0');
    return text;
}

// Whole days and seconds of the day of a date value; the time part counts forward from the start
// of that calendar day even for negative values (-1.25 is 1899-12-29 06:00).
struct DayAndSecond {
    int64_t day;
    int second;
};
std::optional<DayAndSecond> SplitSerial(double serial) {
    if (!std::isfinite(serial) || serial <= static_cast<double>(kFirstDateDay - 1) ||
        serial >= static_cast<double>(kLastDateDay + 1))
        return std::nullopt;
    double whole = std::trunc(serial);
    auto day = static_cast<int64_t>(whole);
    auto second = static_cast<int>(std::llround(std::fabs(serial - whole) * 86400.0));
    if (second >= 86400) {
        second = 0;
        ++day;
    }
    if (day < kFirstDateDay || day > kLastDateDay)
        return std::nullopt;
    return DayAndSecond{day, second};
}

// Proleptic Gregorian calendar date of a day count since 1970-01-01 (H. Hinnant's algorithm).
CalendarDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const auto day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const auto year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

std::pair<CalendarDate, ClockTime> ToParts(const DayAndSecond& split) {
    return {CivilFromDays(split.day + kDaysFrom1970To1899_12_30),
            ClockTime{split.second / 3600, split.second / 60 % 60, split.second % 60}};
}

} // namespace

std::wstring ClassicShortDate(const CalendarDate& d) {
    return std::to_wstring(d.month) + L"/" + std::to_wstring(d.day) + L"/" + ZeroPadded(d.year, 4);
}

std::wstring ClassicTime(const ClockTime& t) {
    int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return std::to_wstring(hour12) + L":" + TwoDigits(t.minute) + L":" + TwoDigits(t.second) +
           (t.hour < 12 ? L" AM" : L" PM");
}

namespace {

// As classic Basic's CStr: only the date at midnight, only the time on day 0.
std::wstring DateText(double serial, const ValueFormat& format) {
    auto split = SplitSerial(serial);
    if (!split)
        throw std::range_error("date out of range");
    const auto [date, time] = ToParts(*split);
    std::wstring text;
    if (split->day != 0)
        text = format.shortDate ? format.shortDate(date) : ClassicShortDate(date);
    if (split->second != 0 || split->day == 0) {
        if (!text.empty())
            text += L" ";
        text += format.time ? format.time(time) : ClassicTime(time);
    }
    return text;
}

std::wstring CurrencyText(int64_t scaled, std::wstring_view separator) {
    bool negative = scaled < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::wstring text = (negative ? L"-" : L"") + std::to_wstring(magnitude / 10000);
    if (uint64_t fraction = magnitude % 10000) {
        std::wstring digits = ZeroPadded(static_cast<int>(fraction), 4);
        digits.erase(digits.find_last_not_of(L'0') + 1);
        text += separator;
        text += digits;
    }
    return text;
}

std::wstring ReplaceDecimalPoint(std::wstring_view text, std::wstring_view separator) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'.')
            out += separator;
        else
            out += c;
    }
    return out;
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

std::wstring CleanApiText(std::wstring text) {
    for (size_t at; (at = text.find(kCrLf)) != std::wstring::npos;)
        text.erase(at, 2);
    std::erase(text, L'\0');
    return text;
}

std::wstring PadRight(std::wstring text, wchar_t fill, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), fill);
    return text;
}

std::wstring FormatNumber(double value, int significantDigits, std::wstring_view decimalSeparator) {
    if (std::isnan(value))
        return L"NaN";
    if (std::isinf(value))
        return value < 0 ? L"-Infinity" : L"Infinity";
    if (value == 0)
        return L"0"; // also for -0
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, significantDigits);
    std::wstring text;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.')
            text += decimalSeparator;
        else
            text += static_cast<wchar_t>(*p == 'e' ? 'E' : *p);
    }
    return text;
}

std::optional<std::pair<CalendarDate, ClockTime>> SplitDateSerial(double serial) {
    auto split = SplitSerial(serial);
    if (!split)
        return std::nullopt;
    return ToParts(*split);
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

std::wstring FormatValue(const Value& value, const ValueFormat& format) noexcept {
    try {
        const std::wstring& sep = format.decimalSeparator;
        return std::visit(Overloaded{
                              [](const Missing&) { return std::wstring(); },
                              [](const ErrorValue&) { return std::wstring(); },
                              [](const Empty&) { return std::wstring(L"{Empty}"); },
                              [](const Null&) { return std::wstring(L"{Null}"); },
                              [](const Array&) { return std::wstring(L"{Array}"); },
                              [](int16_t v) { return std::to_wstring(v); },
                              [](int32_t v) { return std::to_wstring(v); },
                              [](uint8_t v) { return std::to_wstring(unsigned{v}); },
                              [](bool v) { return std::wstring(v ? L"True" : L"False"); },
                              [&](float v) { return FormatNumber(v, 7, sep); },
                              [&](double v) { return FormatNumber(v, 15, sep); },
                              [&](const Currency& v) { return CurrencyText(v.scaled, sep); },
                              [&](const Decimal& v) { return ReplaceDecimalPoint(v.digits, sep); },
                              [&](const Date& v) { return L"'" + DateText(v.serial, format) + L"'"; },
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

FormattedArgs FormatArgs(std::wstring_view names, const ArgList& values, const ValueFormat& format) {
    FormattedArgs out;
    std::vector<std::wstring_view> nameList = SplitNames(names);
    for (size_t i = 0; i < values.values.size(); ++i) {
        std::wstring_view name = i < nameList.size() ? nameList[i] : std::wstring_view();
        std::wstring text = FormatValue(values.values[i], format);
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

std::wstring CallStackEntry(std::wstring_view method, std::wstring_view argNames, const ArgList& args,
                            int32_t line, const ValueFormat& format) {
    FormattedArgs formatted = FormatArgs(argNames, args, format);
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
