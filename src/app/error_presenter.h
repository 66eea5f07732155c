// How the program shows what its event handlers caught: reports in the error report window,
// errors meant for the user as a plain message in the current language.
#pragma once
#include "errors/err_trace.h"

#include <string>

namespace velmora::app {

// The message for an error meant for the user: made from its details where its number has a
// message of its own, else its description.
std::wstring UserMessageText(const err::ErrorRecord& error);

// Installed at start-up.
err::ReportPresenter& AppPresenter();

} // namespace velmora::app
