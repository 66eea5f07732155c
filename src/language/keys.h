// Every English text the program looks up in a language file, in one list. The shipped language
// files are checked against it: each of them translates every key here and nothing else. A new
// user-visible text is added here and to every file in Languages\ in the same change.
#pragma once
#include <array>
#include <string_view>

namespace velmora::keys {

// Not a translation: each file's own name for its language ("Deutsch", "Français"), which the
// settings window lists it under.
inline constexpr std::wstring_view kLanguageName = L"Language Name";

inline constexpr std::array<std::wstring_view, 79> kAll = {
    kLanguageName,
    // Main window: buttons, labels, tooltips.
    L"Search for Updates",
    L"Show Info",
    L"Settings", // also the settings window's caption
    L"Start ICQ Lite",
    L"Sorry, if your last status is invisible then you must start invisible again",
    L"Message", // after a status name: "Away Message"
    L"Status",
    L"User",
    L"Choose or enter an ICQ number",
    L"Choose a Status",
    // Status names, in the status list and in the message label.
    L"Online",
    L"Away",
    L"N/A",
    L"DND",
    L"Occupied",
    L"Free For Chat",
    L"Invisible",
    // Start action and wait window.
    L"The ICQ number is invalid",
    L"You have to enter a ICQ Number first",
    L"One Moment please, ICQ Lite is starting",
    // Launcher: the client's values could not be written (followed by the value, key and reason).
    L"ICQ Lite was not started, because your choice could not be saved for it.",
    L"Value",
    L"Key",
    L"Reason",
    // A setting could not be saved (followed by the value, key and reason).
    L"Your settings could not be saved.",
    // Launcher: the client ended at once (followed by its exit code), or it runs already.
    L"ICQ Lite ended right after it was started",
    L"Exit code",
    L"ICQ Lite is already running. Please close it first, then start it again here.",
    // Direct login could not press Enter (followed by "Reason" and one of the two reasons).
    L"ICQ Lite was started, but the automatic login was not done.",
    L"ICQ Lite did not show its login window.",
    L"The automatic login was cancelled.",
    // Update check.
    L"Are you connected to the Internet?",
    L"A new version is available. Do you want to download it?",
    L"You are already using the newest Version",
    L"The search for updates failed.", // followed by "Reason" and one of the reasons below
    L"No connection to the update server",
    L"The update server did not answer in time",
    L"The update server answered with an error", // followed by the HTTP status
    L"The version file is empty",
    L"The version file is not valid",
    L"The version file is too large",
    L"The version file gives no download address for the new version.",
    // Start-up.
    L"ICQ Lite is not installed on this computer. Please install ICQ Lite first",
    // Settings window.
    L"Cancel",
    L"Ok", // also the info and thanks windows
    L"General",
    L"Direct Login (Password has to be saved in ICQ Lite)",
    L"Open Login Window for selected User",
    L"Start Velmora with Windows",
    L"Close Velmora after Login",
    L"Language",
    L"Advanced",
    L"Allow Starting of multiple ICQ Lite Instances",
    L"Allow Free for Chat, Occupied and DND Status",
    // Info and thanks windows.
    L"Info",
    L"Donate",
    L"Thanks to...",
    L"Thanks for the Hebrew language file to", // followed by a space and the translator's name
    // Error report window.
    L"Error Report",
    L"Sorry, an error occured. Please help to enhence this program by sending this error report to",
    // The command line: what is wrong with an argument (followed by ": " and the argument).
    L"Unknown switch",
    L"This switch is given twice",
    L"/direct and /manual cannot be used together",
    L"This switch needs a value after a colon",
    L"This switch takes no value",
    L"Unknown status",
    L"This switch needs /user",
    L"This status has no message",
    // The command line's usage; the switch names and status words before each line stay as they are.
    L"Starts ICQ Lite for one user without showing the window.",
    L"the ICQ number of the user to start ICQ Lite for",
    L"the status; without it, the user's last status",
    L"the message for that status; without it, the stored message stays",
    L"log in directly, or open the login window, whatever the settings say",
    L"shows this help",
    // The start button's menu: a desktop shortcut for the current choice; what became of it (a
    // failure is followed by "Reason"); a message it cannot hold.
    L"Create Desktop Shortcut",
    L"The shortcut was created on your desktop.",
    L"The shortcut could not be created.",
    L"The message is too long for a shortcut.",
};

} // namespace velmora::keys
