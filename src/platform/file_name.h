// A text made fit to be a file's name on Windows. Pure C++ (no <windows.h>).
#pragma once
#include <string>
#include <string_view>

namespace velmora::platform {

// Long enough for any name the program makes, short enough that a folder's path leaves room.
inline constexpr size_t kMaxFileNameLength = 100;

// The characters no file name may hold (\ / : * ? " < > | and control characters) become "_";
// blanks at either end and dots at the end go, as Windows would drop them and the file would not
// have the name asked for; a longer name is cut to kMaxFileNameLength, never inside a character
// of two code units; a device's name (CON, NUL, COM1 and the like, with any extension) and an empty
// name get a "_" in front.
std::wstring SafeFileName(std::wstring_view name);

} // namespace velmora::platform
