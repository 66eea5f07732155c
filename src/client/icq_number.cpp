#include "client/icq_number.h"

#include <cstdint>

namespace velmora {

std::optional<std::wstring> CanonicalIcqNumber(std::wstring_view typed) {
    if (typed.size() > kMaxIcqNumberText)
        return std::nullopt;
    std::wstring text;
    text.reserve(typed.size());
    for (wchar_t c : typed)
        if (c != L'-')
            text.push_back(c);

    constexpr std::wstring_view kBlanks = L" \t";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos)
        return std::nullopt;
    size_t last = text.find_last_not_of(kBlanks);
    std::wstring_view digits = std::wstring_view(text).substr(first, last - first + 1);

    constexpr int64_t kMax = 2147483647;
    int64_t value = 0;
    for (wchar_t c : digits) {
        // Only ASCII digits: other scripts' digits would not survive the conversion to REG_DWORD.
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > kMax)
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return std::to_wstring(value);
}

} // namespace velmora
