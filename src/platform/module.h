// Where the running program is.
#pragma once
#include <string>

namespace velmora::platform {

// The full path of the running exe ("" when the system cannot say).
std::wstring ProgramPath();
// Its folder, without a final backslash.
std::wstring ProgramFolder();

} // namespace velmora::platform
