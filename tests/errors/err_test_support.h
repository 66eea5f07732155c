// Shared by the error tests: a presenter that keeps what it was asked to show (registered while it
// lives), and the lines of a report.
#pragma once
#include "app/error_presenter.h"
#include "errors/err_trace.h"
#include "support/support.h"

namespace velmora::test {

struct CapturingPresenter : err::ReportPresenter {
    CapturingPresenter() { err::SetReportPresenter(this); }
    ~CapturingPresenter() override { err::SetReportPresenter(nullptr); }
    void ShowReport(const std::wstring& report) override { // numbered as its "Number:" line says
        reports.push_back(report);
        size_t at = report.find(L"\r\n  Number: ");
        numbers.push_back(at == std::wstring::npos ? 0 : std::wcstol(report.c_str() + at + 12, nullptr, 10));
    }
    void ShowUserMessage(const err::ErrorRecord& error) override { // the message as the program shows it
        messages.push_back(app::UserMessageText(error));
        numbers.push_back(error.number);
    }
    void Clear() { reports.clear(), messages.clear(), numbers.clear(); }
    std::vector<std::wstring> reports, messages;
    std::vector<int32_t> numbers; // of everything shown, in order
};

// The lines of a report; the final CR LF ends the last line.
inline std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 2)
        lines.push_back(text.substr(start, (end = std::min(text.find(L"\r\n", start), text.size())) - start));
    return lines;
}

} // namespace velmora::test
