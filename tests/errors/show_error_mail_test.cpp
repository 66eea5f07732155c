// A click on the support address starts the mail program with a well-formed mailto: link. The
// shell's mailto handler is replaced by a recorder for the test and put back afterwards.
#include "errors/show_error_window.h"

#include "app/shared.h"
#include "client/icq_lite.h"
#include "errors/mailto.h"
#include "settings/reg.h"
#include "support/support.h"

#include <gtest/gtest.h>

namespace velmora::err {
namespace {

constexpr wchar_t kMailtoCommandKey[] = L"Software\\Classes\\mailto\\shell\\open\\command";

// Points the machine's mailto handler at the recorder, and restores what was there.
class MailtoHandler {
public:
    explicit MailtoHandler(const std::wstring& command) {
        reg_.WriteValue(L"", command, REG_SZ, kMailtoCommandKey, HKEY_LOCAL_MACHINE);
    }
    ~MailtoHandler() {
        if (old_.IsEmpty())
            reg_.DeleteKey(kMailtoCommandKey, HKEY_LOCAL_MACHINE);
        else
            reg_.WriteValue(L"", old_, REG_SZ, kMailtoCommandKey, HKEY_LOCAL_MACHINE);
    }

private:
    Reg reg_;
    RegData old_ = reg_.ReadValue(L"", kMailtoCommandKey, HKEY_LOCAL_MACHINE);
};

std::wstring FromUtf8(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(ErrReportMail, AddressClickStartsAMailWithTheReport) {
    Reg reg;
    Shared().reg = &reg;
    std::wstring dir = test::FreshTempDir(L"ErrReportMail");
    std::wstring record = dir + L"\\mailto.txt";
    SetEnvironmentVariableW(L"VELMORA_URL_RECORD", record.c_str());
    MailtoHandler handler(L"\"" + test::BinDir() + L"\\url_recorder.exe\" \"%1\"");

    // Long enough to be cut, with characters that must be encoded.
    std::wstring report = L"Error 5 in clsStarter.StartICQ: Ungültiger Aufruf & mehr\r\n";
    for (int i = 0; i < 200; ++i)
        report += L"  Call Stack: frmMain.cbtnStart_Click\r\n";
    ErrorReport(report);
    HWND window = ErrorWindow();
    ASSERT_NE(window, nullptr);
    HWND link = GetDlgItem(window, IDC_ERR_ADDRESS);
    RECT rc{};
    GetClientRect(link, &rc);
    LPARAM at = MAKELPARAM(4, (rc.bottom - rc.top) / 2);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(link, WM_LBUTTONUP, 0, at);

    bool recorded = test::WaitFor([&] {
        Pump();
        return !test::ReadBytes(record).empty();
    });
    DestroyWindow(window);
    Pump();
    Shared().reg = nullptr;
    ASSERT_TRUE(recorded) << "the mail program was not started";

    std::wstring line = FromUtf8(test::ReadBytes(record));
    size_t at_url = line.find(L"mailto:");
    ASSERT_NE(at_url, std::wstring::npos) << "command line: " << testing::PrintToString(line);
    std::wstring url = line.substr(at_url, line.rfind(L'"') - at_url);
    std::wstring text = report + L"\r\nICQ Lite Build: " + icqlite::GetBuildId();
    EXPECT_EQ(url, SupportMailto(text)) << "command line: " << testing::PrintToString(line);
    EXPECT_EQ(
        url.rfind(L"mailto:support@ardentix.example?subject=Velmora%20error%20report&body=Error%205%20in", 0),
        0u)
        << testing::PrintToString(url);
    EXPECT_NE(url.find(L"Ung%C3%BCltiger%20Aufruf%20%26%20mehr%0D%0A"), std::wstring::npos)
        << testing::PrintToString(url);
    EXPECT_LE(url.size(), kMaxMailtoLength);
}

} // namespace
} // namespace velmora::err
