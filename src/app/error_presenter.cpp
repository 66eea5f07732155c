#include "app/error_presenter.h"

#include "client/starter.h"
#include "errors/report_text.h"
#include "errors/show_error_window.h"
#include "language/translate.h"
#include "platform/system_error.h"
#include "settings/settings.h"
#include "ui/window.h"

#include <windows.h>
#include <cwchar>

namespace velmora::app {
namespace {

// An exit code as a number; codes of the system's own failures (a crash is 0xC0000005) are
// better known in hexadecimal, so those get it too.
std::wstring ExitCodeText(const std::wstring& decimal) {
    uint32_t code = static_cast<uint32_t>(std::wcstoul(decimal.c_str(), nullptr, 10));
    if (code < 0x10000)
        return decimal;
    wchar_t hex[16];
    swprintf(hex, 16, L"0x%08X", code);
    return decimal + L" (" + hex + L")";
}

} // namespace

std::wstring SystemReason(uint32_t code) {
    std::wstring text = platform::ApiErrorText(code);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    wchar_t number[16];
    swprintf(number, 16, code < 0x10000 ? L"%u" : L"0x%08X", code);
    return text + (text.empty() ? L"" : L" ") + L"(" + number + L")";
}

namespace {

class Presenter : public err::ReportPresenter {
public:
    void ShowReport(const std::wstring& report) override { err::ErrorReport(report); }
    void ShowUserMessage(const err::ErrorRecord& error) override {
        ui::ShowMessage(GetActiveWindow(), err::DisplayText(UserMessageText(error)), MB_OK);
    }
};

} // namespace

std::wstring UserMessageText(const err::ErrorRecord& error) {
    if (error.number == ERR_CLIENT_VALUE_NOT_WRITTEN && error.details.size() == 3) {
        uint32_t code = static_cast<uint32_t>(std::wcstoul(error.details[2].c_str(), nullptr, 10));
        return Translate(L"ICQ Lite was not started, because your choice could not be saved for it.") +
               L"\r\n\r\n" + Translate(L"Value") + L": " + error.details[0] + L"\r\n" + Translate(L"Key") +
               L": " + error.details[1] + L"\r\n" + Translate(L"Reason") + L": " + SystemReason(code);
    }
    if (error.number == ERR_SETTINGS_NOT_SAVED && error.details.size() % 2 == 1) {
        std::wstring text = Translate(L"Your settings could not be saved.") + L"\r\n";
        for (size_t i = 0; i + 1 < error.details.size(); i += 2)
            text += L"\r\n" + Translate(L"Value") + L": " + error.details[i] + L"\r\n" + Translate(L"Key") +
                    L": " + error.details[i + 1] + L"\r\n";
        uint32_t code = static_cast<uint32_t>(std::wcstoul(error.details.back().c_str(), nullptr, 10));
        return text + Translate(L"Reason") + L": " + SystemReason(code);
    }
    if (error.number == ERR_CLIENT_ENDED_AT_START && error.details.size() == 1)
        return Translate(L"ICQ Lite ended right after it was started") + L"\r\n\r\n" +
               Translate(L"Exit code") + L": " + ExitCodeText(error.details[0]);
    if (error.number == ERR_CLIENT_ALREADY_RUNNING)
        return Translate(L"ICQ Lite is already running. Please close it first, then start it again here.");
    return error.description;
}

err::ReportPresenter& AppPresenter() {
    static Presenter presenter;
    return presenter;
}

} // namespace velmora::app
