// Velmora's command line, which starts the client for one choice without showing the window:
//   velmora.exe /user:NUMBER [/status:STATUS] [/message:TEXT] [/direct | /manual]
// and /? (-?, /h, /help) for the usage. Read here, and written here for the shortcuts and the
// jump-list tasks that run such a start. Pure C++ (no <windows.h>).
//
// Switches begin with / or -, a value follows a colon, and Windows' quoting applies
// ("/message:Out for lunch" or /message:"Out for lunch"). Switch names and status words are
// compared by their ASCII letters alone: a Turkish user's locale would otherwise take the I of
// /DIRECT for a dotless one. The status words are English in every language, so a shortcut keeps
// working when the language changes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::app::command_line {

// The start a command line asks for.
struct StartRequest {
    std::wstring typedUser;              // the number as given
    std::optional<std::wstring> user;    // its canonical form; nothing: "The ICQ number is invalid"
    std::optional<int32_t> status;       // a code of the status table; nothing: the user's last status
    std::optional<std::wstring> message; // nothing: the stored message stays as it is
    std::optional<bool> direct;          // true /direct, false /manual; nothing: the setting decides
    bool operator==(const StartRequest&) const = default;
};

enum class Kind {
    None,  // no arguments: the window as usual
    Help,  // /?, -?, /h, -h, /help, -help (anywhere on the line)
    Start, // request holds the start
    Wrong, // problem says what is wrong with argument
};

struct Parsed {
    Kind kind = Kind::None;
    StartRequest request;
    const wchar_t* problem = nullptr; // an English translation key
    std::wstring argument;            // as given
};

// Reads a whole command line (GetCommandLineW's text, the program name first). A number that is
// no ICQ number is not wrong here: the start refuses it as the window does. A message is refused
// only for an explicit status that has none; for the user's last status the start checks that.
// An empty message (/message:) is a message: it clears the stored one, as an emptied box does.
Parsed Parse(std::wstring_view commandLine);
// The same for the arguments alone, as BuildArguments writes them.
Parsed ParseArguments(std::wstring_view arguments);

// The arguments that make the same start again: /user:NUMBER /status:WORD "/message:TEXT"
// followed by /direct or /manual when the request has either. The status is written as its
// English word; a message is left out for a status that has none; every % of the message is
// guarded against the shell's expansion of environment variables.
std::wstring BuildArguments(const StartRequest& request);

// The usage, translated; switch names and status words are not.
std::wstring UsageText();
// For a Wrong command line: the problem and the argument, then the usage.
std::wstring WrongText(const Parsed& parsed);

// A choice in words, the status name translated: "ICQ Lite 12345678 (Away)", the name of its
// shortcut and the title of its jump-list task.
std::wstring ChoiceTitle(const StartRequest& request);
// The title followed by the message (line breaks as blanks), for a shortcut's description.
std::wstring ChoiceDescription(const StartRequest& request);

} // namespace velmora::app::command_line
