// Interim error capture: records and re-raises, builds a short report. The full report text
// (header template, value blocks, API error line) replaces this.
#include "errors/err_trace.h"

#include <windows.h>
#include <new>

namespace velmora::err {
namespace {
ErrorRecord g_current;
ReportPresenter* g_presenter = nullptr;
std::wstring g_report;
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

ErrorRecord& CurrentError() {
    return g_current;
}

void CaptureCurrentException() noexcept {
    try {
        throw;
    } catch (const Error& e) {
        g_current = e.record();
    } catch (const std::bad_alloc&) {
        g_current = ErrorRecord{ERR_OUT_OF_MEMORY, DefaultSource(), L"Out of memory"};
    } catch (...) {
        g_current = ErrorRecord{};
    }
}

std::wstring ErrorIn(std::wstring_view signature, const ArgList&, int32_t flags) {
    if (g_current.number == 0)
        g_current = ErrorRecord{ERR_GENERAL, DefaultSource(), L"ErrorIn: Error information was lost. "};
    if (flags & ERRIN_REPORT) {
        if (g_current.source != L"ErrTrace.ErrorIn")
            g_report = g_current.description + L"\r\n";
        g_report += L"  Call Stack: " + std::wstring(signature) + L"\r\n";
        g_current.source = L"ErrTrace.ErrorIn";
        g_current.description = g_report;
    }
    if (flags & ERRIN_RERAISE)
        throw Error(ErrorRecord{g_current.number, g_current.source, g_current.description});
    return (flags & ERRIN_REPORT) ? g_report : std::wstring();
}

void ErrPreserve() {}
void ErrRestore() {}
std::wstring ErrReportText() {
    return g_report;
}

void ErrShowReport() {
    if (g_presenter)
        g_presenter->ShowReport(g_report);
    else
        MessageBoxW(nullptr, g_report.c_str(), L"Velmora", MB_OK | MB_ICONSTOP);
}

void SetReportPresenter(ReportPresenter* presenter) {
    g_presenter = presenter;
}

} // namespace velmora::err
