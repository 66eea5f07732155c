// Starting other programs (no shell, no extra arguments, a chosen show command), checking that a
// path names a program first, and finding out whether a program already runs.
#pragma once
#include "platform/arguments.h" // QuoteArgument for a command line
#include "platform/handles.h"

#include <optional>
#include <string>

namespace velmora::platform {

// Starts commandLine as a new process whose first window uses showCommand (SW_*). When
// applicationPath is not empty it names the exe and no search path is used. On failure the
// result holds no process and error is the system error code.
UniqueProcessInfo StartProcess(const std::wstring& applicationPath, std::wstring commandLine,
                               WORD showCommand, DWORD& error);

// ERROR_SUCCESS when path names an existing file that the system can start as a program; else
// why not: ERROR_FILENAME_EXCED_RANGE (no shorter than MAX_PATH: never handed to CreateProcessW,
// which some systems do not survive), ERROR_FILE_NOT_FOUND (also for a folder or an empty path),
// ERROR_PATH_NOT_FOUND, ERROR_BAD_EXE_FORMAT, or the code of the failed file check.
DWORD CheckProgramFile(const std::wstring& path);

// Whether a process of this Windows session other than this one runs the exe at path (full image
// paths compared without regard to case).
bool IsProgramRunning(const std::wstring& path);

// The exit code of a process that has ended; nullopt while it runs.
std::optional<DWORD> ExitCodeIfEnded(HANDLE process);

// Whether Windows itself is 64-bit, whatever this build's bitness.
bool WindowsIs64Bit();

} // namespace velmora::platform
