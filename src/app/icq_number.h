// The ICQ number a user types, reduced to the one form the client's registry data may hold.
// Pure C++ (no <windows.h>) so every edge can be tested directly.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace velmora::app {

// Removes every "-" and the blanks around the number; what is left must be decimal digits only,
// with a value from 1 to 2147483647. Returns the number's canonical decimal form (no leading
// zeros), or nothing when the text is no ICQ number.
//
// Locale-aware number parsing would accept "+123", "1.234" or "123.5" and then write a status
// under a key that differs from "LastOwner": a single canonical form keeps the two in step.
std::optional<std::wstring> CanonicalIcqNumber(std::wstring_view typed);

} // namespace velmora::app
