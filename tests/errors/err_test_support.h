// What the error tests share: a presenter that keeps what it was asked to show instead of opening
// a window, and small text helpers for reading reports.
#pragma once
#include "errors/err_trace.h"

#include <string>
#include <vector>

namespace velmora::test {

// Registered for as long as it lives.
class CapturingPresenter : public err::ReportPresenter {
public:
    CapturingPresenter() { err::SetReportPresenter(this); }
    ~CapturingPresenter() override { err::SetReportPresenter(nullptr); }
    CapturingPresenter(const CapturingPresenter&) = delete;
    CapturingPresenter& operator=(const CapturingPresenter&) = delete;

    void ShowReport(const std::wstring& report) override { reports.push_back(report); }
    void ShowUserMessage(const std::wstring& message) override { messages.push_back(message); }
    void Clear() {
        reports.clear();
        messages.clear();
    }

    std::vector<std::wstring> reports;
    std::vector<std::wstring> messages;
};

// The lines of a report (split at CR LF; the final CR LF ends the last line).
inline std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A report line for a failure message: printable ASCII kept, anything else as '?'.
inline std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += (c == L'\r' || c == L'\n' || (c >= 32 && c < 127)) ? static_cast<char>(c) : '?';
    return out;
}

} // namespace velmora::test
