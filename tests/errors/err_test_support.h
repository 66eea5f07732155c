// Shared by the error tests: a presenter that keeps what it was asked to show (registered while it
// lives), and helpers for reading reports.
#pragma once
#include "app/error_presenter.h"
#include "errors/err_trace.h"
#include "support/support.h"

#include <cwchar>
#include <string>
#include <vector>

namespace velmora::test {

struct CapturingPresenter : err::ReportPresenter {
    CapturingPresenter() { err::SetReportPresenter(this); }
    ~CapturingPresenter() override { err::SetReportPresenter(nullptr); }
    // The error number of a report as its "Number:" line shows it.
    void ShowReport(const std::wstring& report) override {
        reports.push_back(report);
        size_t at = report.find(L"\r\n  Number: ");
        numbers.push_back(at == std::wstring::npos ? 0 : std::wcstol(report.c_str() + at + 12, nullptr, 10));
    }
    // The message as the program shows it.
    void ShowUserMessage(const err::ErrorRecord& error) override {
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
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

} // namespace velmora::test
