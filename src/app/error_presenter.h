// How the program shows what its event handlers caught: reports in the error report window,
// errors meant for the user as a plain message in the current language.
#pragma once
#include "errors/err_trace.h"

#include <string>

namespace velmora::app {

// The message for an error meant for the user: made from its details where its number has a
// message of its own, else its description.
std::wstring UserMessageText(const err::ErrorRecord& error);

// The system's own words for an error code, with the code itself: in decimal, or in hexadecimal for
// an HRESULT and the like, as they are known.
std::wstring SystemReason(uint32_t code);

// Installed at start-up.
err::ReportPresenter& AppPresenter();

} // namespace velmora::app
