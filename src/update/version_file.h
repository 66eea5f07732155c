// The maker's version file, judged against the program's own version. Pure C++ (no <windows.h>).
//
// The file is "version|download address", optionally followed by "|" and anything. Both fields
// are trimmed of blanks and line breaks. The version comes in one of two forms:
//   dotted  "1.0.10"  major.minor.revision (or major.minor), compared part by part as numbers;
//   joined  "1010"    the digits of major, minor and revision written one after another, as
//                     older files have it; compared as one number with the program's own version
//                     joined the same way (1.0.8 is 108).
// The download address must be absolute https:// (http:// only where the update server itself is
// http, for test servers); anything else makes the file malformed.
#pragma once
#include "platform/version_info.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::update {

struct Judgement {
    enum class Kind { Newer, NotNewer, Empty, Malformed };
    Kind kind = Kind::Malformed;
    std::wstring downloadUrl; // with Newer: the address to hand on; empty when the file gives none
};

// body: the file's bytes as the server sent them (ASCII; a UTF-8 byte-order mark is skipped).
Judgement JudgeVersionFile(std::string_view body, const platform::ProgramVersion& own, bool httpAllowed);

// An address that may be handed to the browser: http(s)://host... in the characters URLs are
// written with, nothing that a command line or the shell could read otherwise.
bool IsDownloadUrl(std::wstring_view url, bool httpAllowed);

} // namespace velmora::update
