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

void SetCurrentLanguage(const Language* language) {
    g_current = language;
}

const Language* CurrentLanguage() {
    return g_current;
}

} // namespace velmora
