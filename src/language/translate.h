// The one translation call for every text the user sees. Start-up registers the program's
// language object; until then, and after shutdown has released it, every text shows in English
// (the key itself). Errors of the lookup pass on to the caller's trap.
#pragma once
#include <string>
#include <string_view>

namespace velmora {

class Language;

// The current language's text for key (an English text); the key when there is no translation.
std::wstring Translate(std::wstring_view key);

// Whether the current language reads from right to left (Hebrew, Arabic): its texts begin with a
// letter of such a script. Windows then lay out mirrored.
bool RightToLeft();
// The same for one text: its first letter that has a direction of its own.
bool ReadsRightToLeft(std::wstring_view text);

// The language object Translate asks; nullptr for none. Owned by the caller.
void SetCurrentLanguage(const Language* language);
const Language* CurrentLanguage();

} // namespace velmora
