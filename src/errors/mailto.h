// The mail link of the error report: a well-formed mailto: URL with a subject and the report as
// body, percent-encoded as UTF-8 and cut so that mail programs and the shell accept it.
// Pure C++ (no <windows.h>).
#pragma once
#include <string>
#include <string_view>

namespace velmora::err {

// Mail programs on Windows take URLs of about 2000 characters, but Wine's shell passes at most
// 1023 characters of command line to the mail program (the URL is dropped beyond that) and
// crashes on mailto: URLs of about 1000 characters. 900 leaves room for the mail program's own
// command and keeps the link working everywhere; a cut report still says what failed where.
constexpr size_t kMaxMailtoLength = 900;

// Percent-encodes text as UTF-8: letters, digits and - . _ ~ stay, everything else becomes %XX.
// Unpaired surrogates are encoded as U+FFFD.
std::wstring PercentEncode(std::wstring_view text);

// "mailto:" + address + "?subject=" + subject + "&body=" + body, each part encoded. When the
// whole would be longer than maxLength, the body is cut at a character boundary (never inside
// an %XX group or a character's bytes) and ends in an encoded "[...]" marker.
std::wstring BuildMailto(std::wstring_view address, std::wstring_view subject, std::wstring_view body,
                         size_t maxLength = kMaxMailtoLength);

} // namespace velmora::err
