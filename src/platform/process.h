// Starting other programs: no shell, no extra arguments, a chosen show command.
#pragma once
#include "platform/handles.h"

#include <string>

namespace velmora::platform {

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// Starts commandLine as a new process whose first window uses showCommand (SW_*). When
// applicationPath is not empty it names the exe and no search path is used. On failure the
// result holds no process and error is the system error code.
UniqueProcessInfo StartProcess(const std::wstring& applicationPath, std::wstring commandLine,
                               WORD showCommand, DWORD& error);

} // namespace velmora::platform
