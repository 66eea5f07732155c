#include "language/language.h"

#include "errors/trap.h"
#include "language/control_keys.h"
#include "settings/settings.h"
#include "textfiles/file.h"

namespace velmora {
namespace {

// A window argument appears in an error report by its window class name.
err::Value WindowArgument(HWND window) {
    if (!window)
        return err::ObjectRef{};
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    return err::ObjectRef{className};
}

} // namespace

Language::Language(Settings& settings, const File& file) : settings_(settings), file_(file) {}

std::wstring Language::TranslateText(const std::wstring& key, const std::wstring& defaultText) const {
    return defaultText.empty() ? key : defaultText;
}

void Language::TranslateFormControls(HWND window) const {
    err::Trap(L"clsLanguage.TranslateFormControls(myForm)", err::Args(WindowArgument(window)), [&] {
        ForEachControl(window, [&](HWND control) {
            const wchar_t* key = TranslationKey(control);
            if (key && ShowsCaption(control))
                SetWindowTextW(control, TranslateText(key).c_str());
            return true;
        });
    });
}

} // namespace velmora
