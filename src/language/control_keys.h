// The English translation key each translatable control carries. A window gives its controls their
// keys in one place (its control table); translating the window then needs nothing but the window.
#pragma once
#include <windows.h>

#include <functional>

namespace velmora {

// Gives control its key. Only the pointer is kept, so key must live as long as the control: a string
// literal or an entry of a static table. A null or empty key removes the control's key.
void SetTranslationKey(HWND control, const wchar_t* key);
// The control's key; nullptr when it has none.
const wchar_t* TranslationKey(HWND control);

// Whether the control's caption is its visible text: text labels (Static controls with a text
// style, not pictures or frames) and every kind of button (push and picture buttons, check boxes,
// radio buttons, group boxes). Edit boxes, combo boxes and the like show data, not a caption.
bool ShowsCaption(HWND control);

// Calls visit for every control below window, depth first in creation order: each control, then the
// controls inside it (a group box or panel that is their parent). Stops early when visit returns false.
void ForEachControl(HWND window, const std::function<bool(HWND)>& visit);

} // namespace velmora
