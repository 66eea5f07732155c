#include "app/error_presenter.h"

#include "client/starter.h"
#include "errors/report_text.h"
#include "errors/show_error_window.h"
#include "language/translate.h"
#include "platform/system_error.h"

#include <windows.h>
#include <cwchar>

namespace velmora::app {
namespace {

// The system's own words for an error code, with the code itself.
std::wstring SystemMessage(uint32_t code) {
    std::wstring text = platform::ApiErrorText(code);
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text + (text.empty() ? L"" : L" ") + L"(" + std::to_wstring(code) + L")";
}

class Presenter : public err::ReportPresenter {
public:
    void ShowReport(const std::wstring& report) override { err::ErrorReport(report); }
    void ShowUserMessage(const err::ErrorRecord& error) override {
        MessageBoxW(GetActiveWindow(), err::DisplayText(UserMessageText(error)).c_str(), L"Velmora", MB_OK);
    }
};

} // namespace

std::wstring UserMessageText(const err::ErrorRecord& error) {
    if (error.number == ERR_CLIENT_VALUE_NOT_WRITTEN && error.details.size() == 3) {
        uint32_t code = static_cast<uint32_t>(std::wcstoul(error.details[2].c_str(), nullptr, 10));
        return Translate(L"ICQ Lite was not started, because your choice could not be saved for it.") +
               L"\r\n\r\n" + Translate(L"Value") + L": " + error.details[0] + L"\r\n" + Translate(L"Key") +
               L": " + error.details[1] + L"\r\n" + Translate(L"Reason") + L": " + SystemMessage(code);
    }
    return error.description;
}

err::ReportPresenter& AppPresenter() {
    static Presenter presenter;
    return presenter;
}

} // namespace velmora::app
