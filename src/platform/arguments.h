// Windows' rules for a command line's arguments, as CommandLineToArgvW applies them, and the
// quoting that those rules give back unchanged. Pure C++ (no <windows.h>): the program splits its
// own command line without loading shell32 at every start.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// The arguments of a whole command line (GetCommandLineW's text), the program name first, exactly
// as CommandLineToArgvW gives them; an empty line gives one empty program name (where
// CommandLineToArgvW puts the running exe's path).
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

// Quotes one argument (not the program name) so that splitting gives it back unchanged.
std::wstring QuoteArgument(std::wstring_view argument);

// The same for a command line that the shell may expand environment variables in before it runs
// it (a shortcut's or a jump-list task's arguments): every % is set between quotes that splitting
// drops, so no %NAME% is left to expand and the text arrives as it was written.
std::wstring QuoteArgumentForShell(std::wstring_view argument);

} // namespace velmora::platform
