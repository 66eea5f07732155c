#include "language/control_keys.h"

#include <commctrl.h>
#include <cwchar>
#include <iterator>

namespace velmora {
namespace {

// One atom for the property name, added once: a string name would add a reference to the global
// atom for every control and never give it back.
ATOM KeyProperty() {
    static const ATOM atom = GlobalAddAtomW(L"Velmora.TranslationKey");
    return atom;
}

bool ClassIs(HWND control, const wchar_t* name) {
    wchar_t className[64] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    return _wcsicmp(className, name) == 0;
}

} // namespace

void SetTranslationKey(HWND control, const wchar_t* key) {
    if (!control)
        return;
    if (key && *key)
        SetPropW(control, MAKEINTATOM(KeyProperty()), const_cast<wchar_t*>(key));
    else
        RemovePropW(control, MAKEINTATOM(KeyProperty()));
}

const wchar_t* TranslationKey(HWND control) {
    if (!control)
        return nullptr;
    return static_cast<const wchar_t*>(GetPropW(control, MAKEINTATOM(KeyProperty())));
}

bool ShowsCaption(HWND control) {
    if (ClassIs(control, WC_BUTTONW))
        return true;
    if (!ClassIs(control, WC_STATICW))
        return false;
    // A Static control is a label only with a text style; with a picture or frame style its
    // "text" names a resource or is not shown at all.
    switch (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        return true;
    default:
        return false;
    }
}

// Child windows are kept in Z order, and a new child goes to the bottom of it: walking from the
// first child downwards visits the controls in the order they were created.
void ForEachControl(HWND window, const std::function<bool(HWND)>& visit) {
    if (!window)
        return; // no window has no controls (and must not stand for the desktop)
    auto walk = [&](auto& self, HWND parent) -> bool {
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!visit(child) || !self(self, child))
                return false;
        }
        return true;
    };
    walk(walk, window);
}

} // namespace velmora
