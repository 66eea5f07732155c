#include "errors/err_trace.h"

#include "errors/report_env.h"
#include "errors/report_text.h"
#include "platform/system_error.h"

#include <windows.h>
#include <cwchar>
#include <new>

namespace velmora::err {
namespace {

// The source every trap level gives the error it passes on: the description then is the report.
constexpr wchar_t kPropagatedSource[] = L"ErrTrace.ErrorIn";
constexpr wchar_t kLostInformation[] = L"ErrorIn: Error information was lost. "
                                       L"To fix: call ErrPreserve before doing anything in error handler.";
constexpr wchar_t kTitle[] = L"Velmora";

// The copy of the current error that ErrorIn works on, kept after it returns so that
// ErrShowReport can tell a message for the user from a report.
struct PreservedError {
    int32_t number = 0;
    std::wstring source;
    std::wstring description;
    std::wstring helpFile;
    std::wstring helpContext;
    int32_t line = 0;
    uint32_t lastSystemError = 0;
    std::vector<std::wstring> details;
    bool preserved = false;
};

struct TraceState {
    ErrorRecord current;
    PreservedError kept;
    std::wstring reportText;
    ReportPresenter* presenter = nullptr;
};

TraceState& State() {
    static TraceState state;
    return state;
}

std::wstring WidenMessage(const char* text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

// The header and the system-error line: written by the innermost trap only.
std::wstring NewReport(const PreservedError& kept, const Signature& signature) {
    std::wstring report = BuildReportHeader(HeaderError{kept.number, kept.source, kept.description},
                                            signature.method, CurrentHeaderFacts());
    auto code = static_cast<int32_t>(kept.lastSystemError);
    if (code != 0 && code != 203) // no message lookup for codes that get no line
        report += SystemErrorLine(code, platform::ApiErrorText(kept.lastSystemError));
    return report;
}

void ShowUserMessage(const ErrorRecord& error) {
    if (auto* presenter = State().presenter)
        presenter->ShowUserMessage(error);
    else
        MessageBoxW(nullptr, DisplayText(error.description).c_str(), kTitle, MB_OK);
}

void ErrPreserve() {
    TraceState& s = State();
    if (s.current.number == 0 || s.kept.preserved)
        return;
    s.kept.number = s.current.number;
    s.kept.description = s.current.description;
    s.kept.source = s.current.source;
    s.kept.helpFile = s.current.helpFile;
    s.kept.helpContext = std::to_wstring(s.current.helpContext);
    s.kept.line = s.current.line;
    s.kept.lastSystemError = s.current.lastSystemError;
    s.kept.details = s.current.details;
    s.kept.preserved = true;
}

void ErrRestore() {
    TraceState& s = State();
    if (!s.kept.preserved)
        return;
    s.current = ErrorRecord{};
    s.current.number = s.kept.number;
    s.current.source = s.kept.source;
    s.current.description = s.kept.description;
    if (!s.kept.helpContext.empty())
        s.current.helpContext = static_cast<int32_t>(std::wcstol(s.kept.helpContext.c_str(), nullptr, 10));
    s.current.helpFile = s.kept.helpFile;
    s.current.details = s.kept.details;
}

std::wstring ErrReportText() {
    const TraceState& s = State();
    if (!s.reportText.empty())
        return s.reportText;
    if (s.kept.source == kPropagatedSource)
        return s.current.description;
    return {};
}

} // namespace

std::wstring DefaultSource() {
    return L"Velmora";
}

void Raise(ErrorRecord record) {
    throw Error(std::move(record));
}

void Raise(int32_t number, std::wstring description, std::source_location where) {
    Raise(ErrorRecord{
        number, DefaultSource(), std::move(description), {}, 0, static_cast<int32_t>(where.line()), 0});
}

void RaiseSystem(int32_t number, std::wstring description, uint32_t systemError, std::source_location where) {
    Raise(ErrorRecord{number,
                      DefaultSource(),
                      std::move(description),
                      {},
                      0,
                      static_cast<int32_t>(where.line()),
                      systemError});
}

void CaptureCurrentException() noexcept {
    ErrorRecord& current = State().current;
    try {
        try {
            throw;
        } catch (const Error& e) {
            current = e.record();
        } catch (const std::bad_alloc&) {
            current = ErrorRecord{ERR_OUT_OF_MEMORY, DefaultSource(), L"Out of memory"};
        } catch (const std::exception& e) {
            current =
                ErrorRecord{ERR_INTERNAL, DefaultSource(), L"Internal error: " + WidenMessage(e.what())};
        } catch (...) {
            current = ErrorRecord{};
        }
    } catch (...) {
        // No memory left even for the record: ErrorIn reports the information as lost.
        current.number = 0;
    }
}

std::wstring ErrorIn(std::wstring_view signature, ArgList args, int32_t flags) {
    TraceState& s = State();
    std::wstring result;
    try {
        if (s.current.number == 0 && !s.kept.preserved) {
            s.current.number = ERR_GENERAL;
            s.current.description = kLostInformation;
        }
        ErrPreserve();
        if (IsMappedError(s.kept.number)) {
            // A message for the user: no report at any level.
            s.reportText.clear();
        } else if (flags & ERRIN_REPORT) {
            Signature parts = ParseSignature(signature);
            if (s.kept.source == kPropagatedSource)
                s.reportText = s.kept.description;
            else
                s.reportText = NewReport(s.kept, parts);
            s.reportText += CallStackEntry(parts.method, parts.argNames, ToValues(args), s.kept.line);
            s.kept.source = kPropagatedSource;
            s.kept.description = s.reportText;
            result = s.reportText;
        }
    } catch (...) {
        // Only memory can run out here; what was built so far is kept and the error goes on.
    }
    ErrRestore();
    s.kept.preserved = false;
    if (flags & ERRIN_RERAISE) {
        const ErrorRecord& c = s.current;
        throw Error(
            ErrorRecord{c.number, c.source, c.description, c.helpFile, c.helpContext, 0, 0, c.details});
    }
    return result;
}

void ErrShowReport() {
    const TraceState& s = State();
    if (IsMappedError(s.kept.number)) {
        if (s.kept.number != ERRMAP_SILENT)
            ShowUserMessage(s.current);
        return;
    }
    std::wstring report = ErrReportText();
    if (s.presenter)
        s.presenter->ShowReport(report);
    else
        MessageBoxW(nullptr, DisplayText(report).c_str(), kTitle, MB_OK | MB_ICONSTOP);
}

void SetReportPresenter(ReportPresenter* presenter) {
    State().presenter = presenter;
}

} // namespace velmora::err
