// The error report as text: header, system-error line, call-stack lines and the "Value Of" blocks
// of long argument values. Pure C++ (no <windows.h>): everything the report needs from the machine
// (time, computer name, program version) comes in through HeaderFacts, which the Windows half
// fills (report_env.h).
#pragma once
#include "errors/err_value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::err {

// The header's facts about the program and the machine at the time of the error.
struct HeaderFacts {
    std::wstring time;       // "MM/dd/yy HH:mm:ss" with the user's date and time separators
    std::wstring computer;   // empty when unknown
    std::wstring app;        // exe file name without folder and extension
    std::wstring version;    // "major.minor.revision"
    std::wstring adoVersion; // "?" when the database component cannot be asked
};

// What the header says about the error itself.
struct HeaderError {
    int32_t number = 0;
    std::wstring_view source;
    std::wstring_view description;
};

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};
struct ClockTime {
    int hour = 0, minute = 0, second = 0;
};

// The part of a signature before the first "(" and the argument names between it and the last
// character: "clsStarter.StartICQ(strICQFilePath,bolDirectStart)" gives "clsStarter.StartICQ" and
// "strICQFilePath,bolDirectStart"; "frmMain.cbtnInfo_Click" gives no names.
struct Signature {
    std::wstring method;
    std::wstring argNames;
};
Signature ParseSignature(std::wstring_view signature);

// Errors whose description is a message for the user rather than a fault of the program.
bool IsMappedError(int32_t number);

// "+ 5" / "- 5": the relative numbers of the header. 64-bit, so no error number can overflow it.
std::wstring SignedText(int64_t value);
// The 32-bit pattern in upper-case hexadecimal without leading zeros (-1 gives FFFFFFFF).
std::wstring HexText(int32_t number);

// The six header lines, each ending in CR LF. Every value is put in as it is: a "%", a backspace
// or a placeholder name inside a description is never taken for part of the template.
std::wstring BuildReportHeader(const HeaderError& error, std::wstring_view method, const HeaderFacts& facts);

// "  API Error: (code) text" + CR LF, or nothing for 0 and 203 (the "no more data" code that
// harmless lookups leave behind).
std::wstring SystemErrorLine(int32_t code, std::wstring_view apiText);
// Appends fill up to width characters; a longer text stays as it is.
std::wstring PadRight(std::wstring text, wchar_t fill, size_t width);

// One argument value as the report shows it; an empty text when it cannot be formatted. Numbers
// have no separators to localise: the traps pass whole numbers only.
std::wstring FormatValue(const Value& value) noexcept;

// The inline list "name=value, ..." of one call and the "Value Of" blocks of the values too long
// (or too many lines) to be shown inline.
struct FormattedArgs {
    std::wstring list;
    std::wstring valueBlocks;
};
FormattedArgs FormatArgs(std::wstring_view names, const ArgValues& values);

// Lays out an XML text value (in quotes) one tag per line, indented two spaces per level.
std::wstring IndentXml(std::wstring_view quoted);

// The call-stack line of one procedure, padded with "-" to 100 characters, and the value blocks of
// its arguments; every line ends in CR LF. line 0: the procedure did not say where it stopped.
// (Further "Env:" values of a web request have no place in this program and are not written.)
std::wstring CallStackEntry(std::wstring_view method, std::wstring_view argNames, const ArgValues& values,
                            int32_t line);

// The header's time: two-digit month, day, year, 24-hour hour, minute, second.
std::wstring TimeStamp(const CalendarDate& date, const ClockTime& time, std::wstring_view dateSeparator,
                       std::wstring_view timeSeparator);

// A report made fit for a plain message: a NUL inside would end the shown text there, so each one
// is shown as the symbol for NUL instead.
std::wstring DisplayText(std::wstring text);

} // namespace velmora::err
