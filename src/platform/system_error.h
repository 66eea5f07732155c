// The system's own words for an error code, fit for one line of a report or a message.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::platform {

// The system's message for an error code in the default language, made fit by MessageForOneLine;
// empty when the system has none.
std::wstring ApiErrorText(uint32_t code);

// The word that stands in for what a system message would insert ("%1 is not a valid Win32
// application."): the message is asked for without its inserts, which the caller could not give
// for every code, and the program is almost always what such a message is about. The word is
// English, as the report around it is; a Windows in another language words the rest in its own.
constexpr std::wstring_view kInsertWord = L"the program";

// A system message made fit for one line: CR LF pairs and NULs removed, and every insert marker
// ("%1" to "%99", also with a format such as "%2!s!") replaced by kInsertWord, capitalised where
// it starts a sentence. Any other "%" stays as it is.
std::wstring MessageForOneLine(std::wstring_view text);

} // namespace velmora::platform
