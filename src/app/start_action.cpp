#include "app/start_action.h"

#include "app/main_window.h"
#include "app/shared.h"
#include "app/wait_window.h"
#include "client/icq_lite.h"
#include "client/icq_number.h"
#include "errors/trap.h"
#include "language/translate.h"
#include "settings/settings.h"
#include "ui/busy.h"
#include "ui/window.h"

namespace velmora::app {
namespace {

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

} // namespace

bool StartClient(HWND owner, Starter& starter, const StartChoice& choice) {
    if (choice.user.empty()) {
        ui::ShowMessage(owner, Translate(L"You have to enter a ICQ Number first"),
                        MB_OK | MB_ICONINFORMATION);
        return false;
    }
    std::optional<std::wstring> number = CanonicalIcqNumber(choice.user);
    if (!number) {
        ui::ShowMessage(owner, Translate(L"The ICQ number is invalid"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!choice.status) {
        ui::ShowMessage(owner, Translate(L"Choose a Status"), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    LoginOutcome outcome;
    {
        StartingState starting(owner);
        starter.SetUser(*number);
        starter.SetStatus(*choice.status);
        if (choice.message)
            starter.SetStatusText(*choice.message);
        else
            starter.KeepStatusText();
        outcome = starter.StartICQ(
            icqlite::ExePath(), choice.direct,
            [&](HANDLE process, ui::Clock::time_point until) { return starting.Wait(process, until); });
    }
    if (outcome == LoginOutcome::NoWindow || outcome == LoginOutcome::Cancelled)
        ui::ShowMessage(owner, LoginNotDoneText(outcome), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void cbtnStart_Click(MainWindow& window) {
    err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] {
        StartChoice choice{window.TypedUser(), window.SelectedStatus(), window.MessageToWrite(),
                           Shared().settings->DirectLogin()};
        if (!StartClient(window.Handle(), window.TheStarter(), choice))
            return;
        window.Started();
        if (Shared().settings->CloseAfter())
            PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    });
}

} // namespace velmora::app
