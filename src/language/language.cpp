#include "language/language.h"

#include "settings/settings.h"
#include "textfiles/file.h"

namespace velmora {

Language::Language(Settings& settings, const File& file) : settings_(settings), file_(file) {}

std::wstring Language::TranslateText(const std::wstring& key, const std::wstring& defaultText) const {
    return defaultText.empty() ? key : defaultText;
}

} // namespace velmora
