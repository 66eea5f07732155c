// One update check: fetches the maker's version file into memory, judges it against the program's
// own version, and hands a newer version's download address to the user's web browser.
#pragma once
#include "errors/err_trace.h"

#include <windows.h>

#include <chrono>
#include <string>

namespace velmora::update {

// The check could not find out (no connection, no answer in time, an HTTP status other than 200,
// an empty, oversized or malformed file): an error for the user, not a report. Its details are
// the English key of the reason and, where there is one, a code (WinHTTP error or HTTP status).
inline constexpr int32_t ERR_UPDATE_CHECK_FAILED = err::vbObjectError + 4220;

// The whole fetch, from name lookup to the last byte, and the largest file taken.
inline constexpr std::chrono::seconds kFetchTime{15};
inline constexpr size_t kMaxVersionFile = 64 * 1024;

// "<server>/downloads/VelmoraVersion.ini"
std::wstring VersionFileUrl();

class AutoUpdate {
public:
    // owner: the window that waits, disabled, while the file is fetched.
    explicit AutoUpdate(HWND owner) : owner_(owner) {}

    // True when the server offers a newer version; DownloadAddress() then holds its address, which
    // may be empty when the file gives none. Raises ERR_UPDATE_CHECK_FAILED when it cannot tell.
    bool NewVersionExists();
    const std::wstring& DownloadAddress() const { return downloadAddress_; }
    // Opens the download address in the user's default web browser, which downloads the file.
    void DownloadNewVersion();

private:
    // The body of a 200 answer for strURL, read into memory.
    std::string DownloadFile(const std::wstring& strURL);

    HWND owner_;
    std::wstring downloadAddress_;
};

} // namespace velmora::update
