#include "app/start_action.h"

#include "app/icq_number.h"
#include "app/main_window.h"
#include "app/shared.h"
#include "app/wait_window.h"
#include "client/icq_lite.h"
#include "errors/trap.h"
#include "language/translate.h"
#include "settings/settings.h"

namespace velmora::app {
namespace {

// While the start runs the window takes no input and the wait window shows. Whatever way the
// start ends, the wait window goes and the window takes input again, before any error report is
// shown. Keys and clicks given meanwhile are dropped: they were meant for a window that could not
// take them (a second click on Start would start the client twice). The window is not brought
// to the front: the user may have gone on to another program meanwhile.
class StartingState {
public:
    explicit StartingState(MainWindow& window) : window_(window) { window_.SetBusy(true); }
    ~StartingState() {
        CloseWaitWindow();
        ui::DiscardQueuedInput();
        window_.SetBusy(false);
    }
    StartingState(const StartingState&) = delete;
    StartingState& operator=(const StartingState&) = delete;

private:
    MainWindow& window_;
};

} // namespace

void cbtnStart_Click(MainWindow& window) {
    err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] {
        HWND hwnd = window.Handle();
        std::wstring typed = window.TypedUser();
        if (typed.empty()) {
            ui::ShowMessage(hwnd, Translate(L"You have to enter a ICQ Number first"),
                            MB_OK | MB_ICONINFORMATION);
            return;
        }
        Starter& starter = window.TheStarter();
        std::optional<std::wstring> number = CanonicalIcqNumber(typed);
        if (!number) {
            ui::ShowMessage(hwnd, Translate(L"The ICQ number is invalid"), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        std::optional<int32_t> code = window.SelectedStatus();
        if (!code) {
            ui::ShowMessage(hwnd, Translate(L"Choose a Status"), MB_OK | MB_ICONINFORMATION);
            return;
        }
        bool closeAfter = false;
        {
            StartingState starting(window);
            starter.SetUser(*number);
            starter.SetStatus(*code);
            // The message box shows the stored message until the user writes one: only then is
            // it written (a stored value the box cannot show stays as it is).
            if (window.MessageTyped())
                starter.SetStatusText(window.StatusMessage());
            else
                starter.KeepStatusText();
            ShowWaitWindow(hwnd);
            std::wstring path = icqlite::ExePath();
            bool direct = Shared().settings->DirectLogin();
            starter.StartICQ(path, direct);
            closeAfter = Shared().settings->CloseAfter();
        }
        if (closeAfter)
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
    });
}

} // namespace velmora::app
