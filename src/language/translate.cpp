#include "language/translate.h"

#include "language/language.h"

namespace velmora {
namespace {
const Language* g_current = nullptr;
} // namespace

std::wstring Translate(std::wstring_view key) {
    std::wstring text(key);
    return g_current ? g_current->TranslateText(text) : text;
}

bool ReadsRightToLeft(std::wstring_view text) {
    for (wchar_t c : text) {
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
            return true; // Hebrew, Arabic, Syriac, Thaana, N'Ko and their presentation forms
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0x00C0 && c <= 0x058F))
            return false; // Latin, Greek, Cyrillic, Armenian
    }
    return false;
}

bool RightToLeft() {
    return g_current && ReadsRightToLeft(Translate(L"Settings"));
}

void SetCurrentLanguage(const Language* language) {
    g_current = language;
}

const Language* CurrentLanguage() {
    return g_current;
}

} // namespace velmora
