#include "update/auto_update.h"

#include "errors/trap.h"
#include "platform/http.h"
#include "platform/shell_open.h"
#include "platform/version_info.h"
#include "ui/busy.h"
#include "update/version_file.h"
#include "update_url.h"

#include <memory>
#include <string_view>

namespace velmora::update {
namespace {

using Outcome = platform::HttpReply::Outcome;

// Reasons, as keys of the language files.
constexpr wchar_t kNoConnection[] = L"No connection to the update server";
constexpr wchar_t kTimedOut[] = L"The update server did not answer in time";
constexpr wchar_t kHttpError[] = L"The update server answered with an error";
constexpr wchar_t kEmpty[] = L"The version file is empty";
constexpr wchar_t kMalformed[] = L"The version file is not valid";
constexpr wchar_t kTooLarge[] = L"The version file is too large";

[[noreturn]] void CheckFailed(const wchar_t* reason, uint32_t code = 0) {
    std::wstring codeText = code ? std::to_wstring(code) : L"";
    err::ErrorRecord error{ERR_UPDATE_CHECK_FAILED, err::DefaultSource(),
                           L"The search for updates failed: " + std::wstring(reason) +
                               (code ? L" (" + codeText + L")" : L"")};
    error.details = {reason, codeText};
    err::Raise(std::move(error));
}

bool HttpAllowed() {
    return std::wstring_view(kUpdateBaseUrl).starts_with(L"http://");
}

platform::ProgramVersion OwnVersion() {
    std::optional<platform::ProgramVersion> own = platform::RunningExeVersion();
    if (!own)
        err::Raise(err::ERR_FILE_NOT_FOUND, L"The program's version resource could not be read");
    return *own;
}

} // namespace

std::wstring VersionFileUrl() {
    return std::wstring(kUpdateBaseUrl) + L"/downloads/VelmoraVersion.ini";
}

std::string AutoUpdate::DownloadFile(const std::wstring& strURL) {
    return err::Trap(L"clsAutoUpdate.DownloadFile(strURL)", err::Args(strURL), [&] {
        // Shared with the fetching thread, which may outlive this call if it overruns.
        auto reply = std::make_shared<platform::HttpReply>();
        std::wstring agent = L"Velmora/" + platform::VersionText(OwnVersion());
        auto fetch = [reply, strURL, agent] {
            *reply = platform::HttpGet(strURL, agent, kFetchTime, kMaxVersionFile);
        };
        // The fetch keeps to its time itself; the margin only guards against a stuck system call.
        if (!ui::RunBusy(owner_, fetch, kFetchTime + std::chrono::seconds(2)))
            CheckFailed(kTimedOut);
        switch (reply->outcome) {
        case Outcome::Answered:
            if (reply->status != 200)
                CheckFailed(kHttpError, reply->status);
            return std::move(reply->body);
        case Outcome::TimedOut:
            CheckFailed(kTimedOut);
        case Outcome::TooLarge:
            CheckFailed(kTooLarge);
        case Outcome::NoConnection:
        case Outcome::Failed:
            break;
        }
        CheckFailed(kNoConnection, reply->systemError);
    });
}

bool AutoUpdate::NewVersionExists() {
    platform::ProgramVersion own = OwnVersion();
    Judgement judged = JudgeVersionFile(DownloadFile(VersionFileUrl()), own, HttpAllowed());
    switch (judged.kind) {
    case Judgement::Kind::Empty:
        CheckFailed(kEmpty);
    case Judgement::Kind::Malformed:
        CheckFailed(kMalformed);
    case Judgement::Kind::NotNewer:
        return false;
    case Judgement::Kind::Newer:
        break;
    }
    downloadAddress_ = judged.downloadUrl;
    return true;
}

// Handed over as the program's links are: on a thread of its own, so that a browser that is slow to
// take it does not hold up the window.
void AutoUpdate::DownloadNewVersion() {
    err::Trap(L"clsAutoUpdate.DownloadNewVersion", err::NoArgs(), [&] {
        if (downloadAddress_.empty())
            err::Raise(err::ERR_INVALID_CALL, L"There is no download address to open");
        platform::OpenInShell(downloadAddress_);
    });
}

} // namespace velmora::update
