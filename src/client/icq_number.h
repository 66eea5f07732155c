// The ICQ number a user types, reduced to the one form the client's registry data may hold.
// Pure C++ (no <windows.h>) so every edge can be tested directly.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The longest text that can still be an ICQ number as a user writes one: ten digits with dashes
// between them, blanks around and a few leading zeros. The user box takes no more, and a longer
// text (a stored value, a command line) is no number at all.
inline constexpr size_t kMaxIcqNumberText = 32;

// Removes every "-" and the blanks around the number; what is left must be decimal digits only,
// with a value from 1 to 2147483647. Returns the number's canonical decimal form (no leading
// zeros), or nothing when the text is no ICQ number (also when it is longer than
// kMaxIcqNumberText).
//
// Locale-aware number parsing would accept "+123", "1.234" or "123.5" and then write a status
// under a key that differs from "LastOwner": a single canonical form keeps the two in step.
std::optional<std::wstring> CanonicalIcqNumber(std::wstring_view typed);

} // namespace velmora
