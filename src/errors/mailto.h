// The mail link of the error report: a well-formed mailto: URL with a subject and the report as
// body, percent-encoded as UTF-8 and cut so that mail programs and the shell accept it.
// Pure C++ (no <windows.h>).
#pragma once
#include <string>
#include <string_view>

namespace velmora::err {

// Mail programs and ShellExecute reliably take URLs of about 2000 characters; stay below that.
constexpr size_t kMaxMailtoLength = 1800;

// Percent-encodes text as UTF-8: letters, digits and - . _ ~ stay, everything else becomes %XX.
// Unpaired surrogates are encoded as U+FFFD.
std::wstring PercentEncode(std::wstring_view text);

// "mailto:" + address + "?subject=" + subject + "&body=" + body, each part encoded. When the
// whole would be longer than maxLength, the body is cut at a character boundary (never inside
// an %XX group or a character's bytes) and ends in an encoded "[...]" marker.
std::wstring BuildMailto(std::wstring_view address, std::wstring_view subject, std::wstring_view body,
                         size_t maxLength = kMaxMailtoLength);

} // namespace velmora::err
