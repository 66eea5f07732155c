// The update button of the real velmora.exe against the tests' own web server on 127.0.0.1, the
// address this build compiled in: what the user is asked and told, what reaches the browser (a
// recorder stands in for it), and what the server sees.
#include "gui_driver/gui_driver.h"

#include "app/main_window_ids.h"
#include "support/app.h"
#include "velmora_version.h"
#include "version_server_config.h"

#include <gtest/gtest.h>
#include <winsock2.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using gui::MessageIcon;

// The server process and the control connection that steers it (see version_server.py); the
// server ends when the connection closes.
class VersionServer {
public:
    VersionServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        std::string token = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
        std::wstring line = L"\"" + std::wstring(kPython) + L"\" \"" + kServerScript + L"\" " +
                            std::to_wstring(kServerPort) + L" " + std::wstring(token.begin(), token.end());
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION started{}; // Wine gives no handles for a Unix program
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &started))
            // Another checkout's tests may own the port for a while; the server waits for it.
            test::WaitFor([&] { return TakeControl(token); }, 100s);
        platform::UniqueHandle process(started.hProcess), thread(started.hThread);
    }
    ~VersionServer() { closesocket(control_); }
    bool Ready() const { return control_ != INVALID_SOCKET; }
    // One command and its answer ("ok" for the ones that set the reply).
    std::string Ask(const std::string& line) const {
        std::string sent = line + "\n", answer;
        if (send(control_, sent.data(), static_cast<int>(sent.size()), 0) == static_cast<int>(sent.size()))
            for (char c; recv(control_, &c, 1, 0) == 1 && c != '\n';)
                answer += c;
        return answer;
    }
    bool Set(const std::string& command) const { return Ask(command) == "ok"; }
    // The command that makes the server answer status and body.
    static std::string Serving(int status, std::string_view body) {
        std::string hex;
        for (unsigned char c : body)
            hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
        return "serve " + std::to_string(status) + " " + hex;
    }

private:
    bool TakeControl(const std::string& token) {
        control_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at{AF_INET, htons(kServerPort + 1), {}};
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        DWORD timeout = 30000;
        setsockopt(control_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof(timeout));
        if (connect(control_, reinterpret_cast<sockaddr*>(&at), sizeof(at)) == 0 && Ask(token) == "ok")
            return true;
        closesocket(control_);
        control_ = INVALID_SOCKET;
        return false;
    }
    SOCKET control_ = INVALID_SOCKET;
};

// A message box as the user should see it (titled "Velmora"), and the button to press.
struct Box {
    std::wstring text; // how it starts
    MessageIcon icon;
    int answer;
};
const Box kAskYes{L"Are you connected to the Internet?", MessageIcon::Question, IDYES};
const std::wstring kNewer = L"A new version is available. Do you want to download it?";
const std::wstring kFailed = L"The search for updates failed.\r\n\r\nReason: ";

class UpdateE2E : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Ready()) << "the version server did not start";
        // The browser is slow where a test makes this event (see url_recorder).
        SetEnvironmentVariableW(L"VELMORA_URL_RECORD_HOLD", L"VelmoraTestSlowBrowser");
        ASSERT_NE(main_ = app_.Start(), nullptr);
    }

    // Waits for the next message box (the one before must be gone), checks it and answers it.
    void Answer(const Box& expected, std::chrono::milliseconds timeout = 10s) {
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(last_); })) << "a message box stays open";
        std::optional<gui::MessageBoxInfo> box = app_.Message(timeout);
        ASSERT_TRUE(box) << "no message box where \"" << test::Narrow(expected.text) << "\" was expected";
        last_ = box->hwnd;
        EXPECT_TRUE(box->text.starts_with(expected.text)) << test::Narrow(box->text);
        EXPECT_EQ(box->icon, expected.icon) << test::Narrow(box->text) << ": " << gui::IconName(box->icon);
        EXPECT_EQ(box->caption, L"Velmora");
        EXPECT_TRUE(gui::AnswerMessageBox(box->hwnd, expected.answer)) << test::Narrow(box->text);
    }
    // Clicks the update button and answers the boxes that follow, in order.
    void Dialogue(const std::vector<Box>& boxes) {
        ASSERT_TRUE(gui::Click(gui::Control(main_, app::IDC_CBTN_NEW_VERSION)));
        for (const Box& box : boxes)
            Answer(box, 20s);
    }
    // After the dialogue: the window takes input again, nothing was written beside the exe, and the
    // server saw `requests` fetches in all.
    void ExpectSettled(int requests, const std::string& what) {
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(last_) && gui::IsEnabled(main_); }))
            << what << ": the main window stays disabled";
        EXPECT_EQ(GetFileAttributesW((test::BinDir() + L"\\VelmoraVersion.ini").c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << what;
        EXPECT_EQ(server_.Ask("count"), std::to_string(requests)) << what;
    }

    VersionServer server_;
    test::UrlRecorder browser_{{L"https", L"http"}};
    test::App app_;
    HWND main_ = nullptr, last_ = nullptr;
};

TEST_F(UpdateE2E, VersionsCompareAsNumbersAndOnlyYesHandsTheAddressToTheBrowser) {
    // No to the first question asks the server nothing (the count after the next check shows it).
    ASSERT_TRUE(server_.Set(VersionServer::Serving(200, "9.9.9|https://a.example/v.exe")));
    Dialogue({{kAskYes.text, MessageIcon::Question, IDNO}});
    ExpectSettled(0, "No");

    const std::string own = VELMORA_VERSION_TEXT,
                      url = "https://downloads.example/velmora/setup.exe?v=9&lang=de";
    const unsigned long long joined =
        std::stoull(std::to_string(VELMORA_VERSION_MAJOR) + std::to_string(VELMORA_VERSION_MINOR) +
                    std::to_string(VELMORA_VERSION_REVISION));
    const struct {
        std::string file;
        bool newer;
    } rows[] = {
        {"9.9.9|" + url + "\r\n", true},
        {own + "|" + url, false},
        {"0.0.10|" + url, false},
        {"109|" + url, 109 > joined},
        {"1010|" + url, 1010 > joined},
        {std::to_string(joined) + "|" + url, false},
        {std::to_string(joined + 1) + "|" + url, true},
    };
    int requests = 0;
    for (const auto& row : rows) {
        ASSERT_TRUE(server_.Set(VersionServer::Serving(200, row.file)));
        // No to the offer: nothing reaches the browser.
        Dialogue({kAskYes, row.newer ? Box{kNewer, MessageIcon::Question, IDNO}
                                     : Box{L"You are already using the newest Version",
                                           MessageIcon::Information, IDOK}});
        ExpectSettled(++requests, row.file);
        EXPECT_EQ(browser_.Take(0s), L"") << row.file << ": the browser was started";
    }

    // Yes hands the address to the browser, which is slow to come up: the window does not wait for it.
    platform::UniqueHandle slow(CreateEventW(nullptr, TRUE, FALSE, L"VelmoraTestSlowBrowser"));
    ASSERT_TRUE(server_.Set(VersionServer::Serving(200, "9.9.9|" + url + "\r\n")));
    Dialogue({kAskYes, {kNewer, MessageIcon::Question, IDYES}});
    EXPECT_EQ(browser_.Take(), std::wstring(url.begin(), url.end())) << "not this address to the browser";
    ExpectSettled(++requests, "Yes");
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main_, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &answer))
        << "the window waits for the browser";
    SetEvent(slow.get());

    // A newer version without an address: Yes says so instead of starting a download.
    ASSERT_TRUE(server_.Set(VersionServer::Serving(200, "9.9.9\r\n")));
    Dialogue({kAskYes,
              {kNewer, MessageIcon::Question, IDYES},
              {L"The version file gives no download address for the new version.", MessageIcon::Exclamation,
               IDOK}});
    ExpectSettled(++requests, "no address");
    EXPECT_EQ(browser_.Take(0s), L"") << "the browser was started without an address";
}

TEST_F(UpdateE2E, AFailedCheckSaysWhyAndNeverNewest) {
    auto serving = VersionServer::Serving;
    const struct {
        const char* what;
        std::string command;
        const wchar_t* reason;
        int requests;
    } rows[] = {
        {"server down", "down", L"No connection to the update server (", 0},
        {"404", serving(404, "not here"), L"The update server answered with an error (404)", 1},
        {"empty", serving(200, ""), L"The version file is empty", 1},
        {"garbage", serving(200, std::string("\x89PNG\r\n\x1a\n\0\xff|x", 12)),
         L"The version file is not valid", 1},
        {"10 MB", "big", L"The version file is too large", 1},
    };
    int requests = 0;
    for (const auto& row : rows) {
        ASSERT_TRUE(server_.Set(row.command)) << row.what;
        Dialogue({kAskYes, {kFailed + row.reason, MessageIcon::Exclamation, IDOK}});
        ExpectSettled(requests += row.requests, row.what);
    }
}

TEST_F(UpdateE2E, AServerThatNeverAnswersFailsInTimeWhileTheWindowWaitsAlive) {
    ASSERT_TRUE(server_.Set("hang"));
    Dialogue({kAskYes});
    auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(last_) && !gui::IsEnabled(main_); }))
        << "the window takes input while it waits";
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
        << "the window does not answer while it waits";
    Answer({kFailed + L"The update server did not answer in time", MessageIcon::Exclamation, IDOK}, 25s);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    ExpectSettled(1, "hang");
}

} // namespace
} // namespace velmora
