// Shortcuts (.lnk files) made through the shell's own link object, and the user's desktop folder.
// The shell is loaded when one is made, never at start-up.
#pragma once
#include "platform/com.h"

#include <shobjidl.h>

#include <string>
#include <string_view>

namespace velmora::platform {

// The longest arguments a shortcut is given. The .lnk file counts a text in 16 bits and Wine's
// shell32 keeps any length, but Windows' shell reads a link's texts into buffers of INFOTIPSIZE
// (1024) characters, the terminating null included, when it shows or runs the link: a longer text
// may arrive cut without a word. The caller refuses more (ShortcutTakes) rather than cut a message.
inline constexpr size_t kMaxShortcutArguments = 1023;
constexpr bool ShortcutTakes(std::wstring_view arguments) {
    return arguments.size() <= kMaxShortcutArguments;
}

struct Shortcut {
    std::wstring target; // the program
    std::wstring arguments;
    std::wstring workingFolder;
    std::wstring iconPath;
    int iconIndex = 0;
    std::wstring description; // the link's tooltip; cut to what a tooltip holds
};

// A link object holding shortcut; COM must be initialised on this thread. S_OK or the HRESULT of
// the step that failed (E_INVALIDARG for arguments a shortcut does not take).
HRESULT NewShellLink(const Shortcut& shortcut, ComPtr<IShellLinkW>& link);

// Saves shortcut as the file path, replacing a file of that name. COM is initialised for the call
// and uninitialised again. S_OK or the HRESULT of the step that failed.
HRESULT SaveShortcut(const std::wstring& path, const Shortcut& shortcut);

// The user's desktop folder; "" when the system cannot say.
std::wstring DesktopFolder();
// Where a shortcut named title goes on the desktop: its folder, the title made a safe file name,
// ".lnk"; "" without a desktop folder.
std::wstring DesktopShortcutPath(std::wstring_view title);

} // namespace velmora::platform
