// The lookup rules of the INI reader, as plain substring searches over one text. No <windows.h>:
// every function here can be fed arbitrary text in a test. Results are views into the argument,
// never past its end.
//
// The rules, deliberately simple because the language files are written to suit them:
//  - a section starts after the first "[name]" anywhere in the text (not only at a line start) and
//    ends before the next "[" of any kind, even one inside a value;
//  - a key is found only right after CR LF and directly followed by "=", case-sensitively; the
//    first such line wins;
//  - a value runs to the next CR LF, unchanged: no trimming, no comments, no escapes.
#pragma once
#include <string>
#include <string_view>

namespace velmora::ini {

// The text of section `section` (starting with the line break after its header), or "" when the
// header "[section]" does not occur.
std::wstring_view SectionBody(std::wstring_view body, std::wstring_view section);

// The value of the first line "key=value" that follows a CR LF in sectionBody, or "".
std::wstring_view KeyValue(std::wstring_view sectionBody, std::wstring_view key);

// Every LF that does not follow a CR becomes CR LF, so that files saved with Unix line ends read
// like any other. A lone CR is left alone (it stays part of its value).
std::wstring NormalizeLineEnds(std::wstring_view text);

} // namespace velmora::ini
