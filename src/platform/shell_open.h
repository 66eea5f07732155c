// Hands a link (a web address, a mailto:) to the program the user has chosen for it.
#pragma once
#include <windows.h>

#include <string>

namespace velmora::platform {

// Asks the shell to open target with the verb "open", the program's folder as working folder, in a
// normally shown window, on a thread of its own. The shell's answer is not waited for: a browser or
// mail program that is slow to start, or a handler that asks the user something first, never holds
// up the windows of this program. Whether it worked is not reported.
void OpenInShell(std::wstring target);

} // namespace velmora::platform
