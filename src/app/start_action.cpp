#include "app/start_action.h"

#include "app/main_window.h"
#include "app/recent_choices.h"
#include "app/shared.h"
#include "app/wait_window.h"
#include "client/icq_lite.h"
#include "client/status.h"
#include "errors/trap.h"
#include "language/translate.h"
#include "platform/jump_list.h"
#include "settings/settings.h"
#include "ui/busy.h"
#include "ui/window.h"

namespace velmora::app {
namespace {

using command_line::StartRequest;

// While the client is being started, the owner takes no input and the wait window shows. However
// the start ends, the owner takes input again before the wait window goes (so that the system hands
// the activation back to the owner, not to another program) and before any report is shown. The
// owner is not brought to the front: the user may have gone on to another program meanwhile.
class StartingState {
public:
    explicit StartingState(HWND owner) {
        busy_.emplace(owner);
        ShowWaitWindow(owner);
    }
    ~StartingState() {
        busy_.reset();
        CloseWaitWindow();
    }
    StartingState(const StartingState&) = delete;
    StartingState& operator=(const StartingState&) = delete;

    // The launcher's wait: every window keeps answering; the wait window's Cancel ends it.
    bool Wait(HANDLE process, ui::Clock::time_point until) {
        return busy_->Wait({&process, 1}, until, WaitWindowCancelled) == ui::BusyScope::kStopped;
    }

private:
    std::optional<ui::BusyScope> busy_;
};

std::wstring LoginNotDoneText(LoginOutcome outcome) {
    return Translate(L"ICQ Lite was started, but the automatic login was not done.") + L"\r\n\r\n" +
           Translate(L"Reason") + L": " +
           (outcome == LoginOutcome::Cancelled ? Translate(L"The automatic login was cancelled.")
                                               : Translate(L"ICQ Lite did not show its login window."));
}

// The jump list's tasks follow the recent choices; a system without jump lists shows nothing, and
// nothing is told.
void Remember(const StartRequest& choice) {
    if (const Settings* settings = Shared().settings)
        platform::SetJumpListTasks(RecentTasks(AddRecentChoice(*settings, choice)));
}

} // namespace

bool CheckChoice(HWND owner, const StartRequest& choice) {
    auto refuse = [&](const wchar_t* key, UINT icon) {
        ui::ShowMessage(owner, Translate(key), MB_OK | icon);
        return false;
    };
    if (choice.typedUser.empty())
        return refuse(L"You have to enter a ICQ Number first", MB_ICONINFORMATION);
    if (!choice.user)
        return refuse(L"The ICQ number is invalid", MB_ICONEXCLAMATION);
    if (!choice.status)
        return refuse(L"Choose a Status", MB_ICONINFORMATION);
    // The window holds such a user to Invisible; any other way of asking is held to it too.
    if (*choice.status != status::kInvisible && icqlite::ShownLastStatus(*choice.user) == status::kInvisible)
        return refuse(L"Sorry, if your last status is invisible then you must start invisible again",
                      MB_ICONEXCLAMATION);
    return true;
}

bool StartClient(HWND owner, Starter& starter, const StartRequest& choice, bool direct) {
    if (!CheckChoice(owner, choice))
        return false;
    std::wstring path = icqlite::ExePath();
    if (path.empty()) {
        ui::ShowMessage(
            owner, Translate(L"ICQ Lite is not installed on this computer. Please install ICQ Lite first"),
            MB_OK | MB_ICONSTOP);
        return false;
    }
    LoginOutcome outcome;
    {
        StartingState starting(owner);
        starter.SetUser(*choice.user);
        starter.SetStatus(*choice.status);
        if (choice.message)
            starter.SetStatusText(*choice.message);
        else
            starter.KeepStatusText();
        outcome = starter.StartICQ(path, direct, [&](HANDLE process, ui::Clock::time_point until) {
            return starting.Wait(process, until);
        });
    }
    Remember(choice);
    if (outcome == LoginOutcome::NoWindow || outcome == LoginOutcome::Cancelled)
        ui::ShowMessage(owner, LoginNotDoneText(outcome), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void cbtnStart_Click(MainWindow& window) {
    err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] {
        if (!StartClient(window.Handle(), window.TheStarter(), window.ChoiceToStart(),
                         Shared().settings->DirectLogin()))
            return;
        window.Started();
        if (Shared().settings->CloseAfter())
            PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    });
}

int StartFromCommandLine(StartRequest request) {
    int exitCode = 1;
    err::EventTrap(L"basGlobal.StartFromCommandLine", err::NoArgs(), [&] {
        if (request.user && !request.status)
            request.status = icqlite::ShownLastStatus(*request.user); // Online where the client keeps none
        // Only a status given on the line is checked by its reader; the user's last one is known here.
        if (request.message && request.status && !status::Find(*request.status)->HasMessage()) {
            ui::ShowMessage(
                nullptr,
                command_line::WrongText({command_line::Kind::Wrong, request, L"This status has no message",
                                         L"/message:" + *request.message}),
                MB_OK | MB_ICONEXCLAMATION);
            exitCode = 2;
            return;
        }
        Starter starter;
        if (StartClient(nullptr, starter, request, request.direct.value_or(Shared().settings->DirectLogin())))
            exitCode = 0;
    });
    return exitCode;
}

} // namespace velmora::app
