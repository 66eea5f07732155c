// Shared by the error tests: a presenter that keeps what it was asked to show (registered while it
// lives), and helpers for reading reports.
#pragma once
#include "app/error_presenter.h"
#include "errors/err_trace.h"
#include "support/support.h"

#include <string>
#include <vector>

namespace velmora::test {

struct CapturingPresenter : err::ReportPresenter {
    CapturingPresenter() { err::SetReportPresenter(this); }
    ~CapturingPresenter() override { err::SetReportPresenter(nullptr); }
    void ShowReport(const std::wstring& report) override { reports.push_back(report); }
    // The message as the program shows it.
    void ShowUserMessage(const err::ErrorRecord& error) override {
        messages.push_back(app::UserMessageText(error));
    }
    void Clear() { reports.clear(), messages.clear(); }
    std::vector<std::wstring> reports, messages;
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
