// Error capture: every trapped procedure hands its signature and argument values to ErrorIn when
// something fails below it. The innermost level writes the report header and its call-stack line,
// every level above adds its own line, and the event handler at the top presents the report.
//
// Where the failing line comes from: Raise and RaiseSystem record the source line of the raise
// (std::source_location), so the innermost call-stack line says "at Line n". The error that a trap
// passes on to its caller carries line 0 (and no system error code): the caller's own line of the
// call is not known, and its call-stack line then has no "at Line" part. Errors that did not come
// from Raise (out of memory, library exceptions) carry 0 as well.
#pragma once
#include "errors/err_value.h"

#include <cstdint>
#include <exception>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::err {

constexpr int32_t vbObjectError = -2147221504;        // 0x80040000
constexpr int32_t ERR_GENERAL = vbObjectError + 5198; // lost error information
constexpr int32_t ERRMAP_APP_FIRST = ERR_GENERAL;
constexpr int32_t ERRMAP_FIRST = vbObjectError + 4197;  // errors meant for the user ...
constexpr int32_t ERRMAP_LAST = vbObjectError + 5197;   // ... shown without a report
constexpr int32_t ERRMAP_SILENT = vbObjectError + 4200; // a mapped error shown to nobody

// Numbers of the classic runtime errors the program raises itself.
constexpr int32_t ERR_INVALID_CALL = 5;
constexpr int32_t ERR_OVERFLOW = 6;
constexpr int32_t ERR_OUT_OF_MEMORY = 7;
constexpr int32_t ERR_SUBSCRIPT = 9;
constexpr int32_t ERR_TYPE_MISMATCH = 13;
constexpr int32_t ERR_INTERNAL = 51;
constexpr int32_t ERR_FILE_NOT_FOUND = 53;
constexpr int32_t ERR_PATH_NOT_FOUND = 76;

enum ErrInFlags : int32_t {
    ERRIN_RERAISE = 1,
    ERRIN_REPORT = 2,
    ERRIN_VOTE_ABORT = 4,
    ERRIN_VOTE_NOCOMMIT = 8,
    ERRIN_ROLLBACK = 16,
    ERRIN_WEBINFO = 32,
    ERRIN_CLOSE_CONNECTION = 64,
    ERRIN_TOPLEVEL = ERRIN_REPORT | ERRIN_VOTE_NOCOMMIT | ERRIN_WEBINFO, // 42
    ERRIN_NESTED = ERRIN_TOPLEVEL | ERRIN_RERAISE,                       // 43
};

// What is known about one error. Line is the source line of the raise in the procedure that
// failed (0 where there is none); LastSystemError is the code of the failed platform call.
struct ErrorRecord {
    int32_t number = 0;
    std::wstring source;
    std::wstring description;
    std::wstring helpFile;
    int32_t helpContext = 0;
    int32_t line = 0;
    uint32_t lastSystemError = 0;
    // For errors meant for the user: the values their message is made of, in the order the
    // presenter of that error number expects them. Carried unchanged through every trap level.
    std::vector<std::wstring> details;
};

// The one exception type of the program: it carries the error record up through the traps.
class Error : public std::exception {
public:
    explicit Error(ErrorRecord record) : record_(std::move(record)) {}
    const ErrorRecord& record() const noexcept { return record_; }
    const char* what() const noexcept override { return "velmora::err::Error"; }

private:
    ErrorRecord record_;
};

// The program's name as error source ("Velmora").
std::wstring DefaultSource();

// Raises an error of the program; the line of the raise is recorded.
[[noreturn]] void Raise(int32_t number, std::wstring description,
                        std::source_location where = std::source_location::current());
// Raises an error for a failed platform call, keeping its system error code for the report.
[[noreturn]] void RaiseSystem(int32_t number, std::wstring description, uint32_t systemError,
                              std::source_location where = std::source_location::current());
[[noreturn]] void Raise(ErrorRecord record);

// What the traps (trap.h) do in their catch block; the error being recorded stays inside the
// error module. First the exception being handled becomes the current error, then ErrorIn records
// the failing procedure and its arguments, made into report values only now.
void CaptureCurrentException() noexcept;
// With ERRIN_RERAISE it throws the error on to the caller, with the report so far as description
// and "ErrTrace.ErrorIn" as source; otherwise it returns the report (empty without ERRIN_REPORT).
// It never fails on its own, whatever the arguments hold. Errors in the mapped range get no report
// at any level: their description is the message for the user.
std::wstring ErrorIn(std::wstring_view signature, ArgList args, int32_t flags);
// Presents the error just recorded by a top-level trap: an error for the user as a plain message
// titled "Velmora" (the silent one not at all), any other error's report through the presenter.
void ErrShowReport();

// Where finished reports go; the error report window implements this. Without one, a plain
// message box shows the text.
class ReportPresenter {
public:
    virtual ~ReportPresenter() = default;
    virtual void ShowReport(const std::wstring& report) = 0;
    // The fixed-title message for an error that is meant for the user: its number tells how to
    // make the message from its details; its description is the message otherwise.
    virtual void ShowUserMessage(const ErrorRecord& error) = 0;
};
void SetReportPresenter(ReportPresenter* presenter);

} // namespace velmora::err
