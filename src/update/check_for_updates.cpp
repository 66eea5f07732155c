#include "update/check_for_updates.h"

#include "language/translate.h"
#include "ui/window.h"
#include "update/auto_update.h"

#include <string>

namespace velmora::update {
namespace {

std::wstring FailureText(const err::ErrorRecord& error) {
    std::wstring reason = error.details.empty() ? error.description : Translate(error.details[0]);
    if (error.details.size() > 1 && !error.details[1].empty())
        reason += L" (" + error.details[1] + L")";
    return Translate(L"The search for updates failed.") + L"\r\n\r\n" + Translate(L"Reason") + L": " + reason;
}

// A check runs at most once at a time: a click that reaches the waiting window anyway (a message
// sent to the button from elsewhere) starts no second one.
bool g_checking = false;

class CheckingFlag {
public:
    CheckingFlag() { g_checking = true; }
    ~CheckingFlag() { g_checking = false; }
    CheckingFlag(const CheckingFlag&) = delete;
    CheckingFlag& operator=(const CheckingFlag&) = delete;
};

} // namespace

void CheckForUpdates(HWND owner) {
    if (g_checking)
        return;
    CheckingFlag checking;
    if (ui::ShowMessage(owner, Translate(L"Are you connected to the Internet?"),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    AutoUpdate update(owner);
    bool newer = false;
    try {
        newer = update.NewVersionExists();
    } catch (const err::Error& e) {
        if (e.record().number != ERR_UPDATE_CHECK_FAILED)
            throw;
        ui::ShowMessage(owner, FailureText(e.record()), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!newer) {
        ui::ShowMessage(owner, Translate(L"You are already using the newest Version"),
                        MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (ui::ShowMessage(owner, Translate(L"A new version is available. Do you want to download it?"),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (update.DownloadAddress().empty())
        ui::ShowMessage(owner, Translate(L"The version file gives no download address for the new version."),
                        MB_OK | MB_ICONEXCLAMATION);
    else
        update.DownloadNewVersion();
}

} // namespace velmora::update
