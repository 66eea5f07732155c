// How language names come about: from the system's language at the first start, and from the
// file names in the languages folder. Pure text rules, kept apart from the Windows calls.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The language chosen when none is stored: the file of the identifier's language in any of its
// variants (German in Austria as in Germany, Portuguese in Portugal as in Brazil), "English" for a
// language without a file.
std::wstring LanguageForSystem(int32_t langId);

// Whether name can name a language file in the languages folder and nothing else: a safe file name
// as it stands (platform/file_name.h): no path separator, drive or "..", no device such as CON or
// COM1, nothing Windows would drop or change.
bool IsLanguageName(std::wstring_view name);

// The language a file in the languages folder stands for: its name without ".ini" (any letter
// case). Nothing for other names and for a bare ".ini", which would name no language at all.
std::optional<std::wstring> LanguageNameFromFileName(std::wstring_view fileName);

} // namespace velmora
