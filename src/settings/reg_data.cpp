#include "settings/reg_data.h"

#include "errors/err_trace.h"

#include <cwctype>

namespace velmora {

std::wstring RegData::AsText() const {
    if (IsEmpty())
        return {};
    if (auto* text = std::get_if<std::wstring>(&value))
        return *text;
    if (auto* number = std::get_if<int32_t>(&value))
        return std::to_wstring(*number);
    err::Raise(err::ERR_TYPE_MISMATCH, L"Type mismatch");
}

int32_t RegData::AsNumber() const {
    if (IsEmpty())
        return 0;
    if (auto* number = std::get_if<int32_t>(&value))
        return *number;
    auto* text = std::get_if<std::wstring>(&value);
    if (!text)
        err::Raise(err::ERR_TYPE_MISMATCH, L"Type mismatch");

    size_t i = 0, n = text->size();
    while (i < n && std::iswspace((*text)[i]))
        ++i;
    bool negative = false;
    if (i < n && ((*text)[i] == L'-' || (*text)[i] == L'+'))
        negative = (*text)[i++] == L'-';
    size_t digitsStart = i;
    int64_t magnitude = 0;
    bool overflow = false;
    for (; i < n && (*text)[i] >= L'0' && (*text)[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + ((*text)[i] - L'0');
        if (magnitude > 2147483648LL)
            overflow = true, magnitude = 2147483648LL;
    }
    bool anyDigit = i > digitsStart;
    while (i < n && std::iswspace((*text)[i]))
        ++i;
    if (!anyDigit || i != n)
        err::Raise(err::ERR_TYPE_MISMATCH, L"Type mismatch");
    int64_t result = negative ? -magnitude : magnitude;
    if (overflow || result > INT32_MAX || result < INT32_MIN)
        err::Raise(err::ERR_OVERFLOW, L"Overflow");
    return static_cast<int32_t>(result);
}

std::vector<std::wstring> RegData::AsList() const {
    if (IsEmpty())
        return {};
    if (auto* list = std::get_if<std::vector<std::wstring>>(&value))
        return *list;
    err::Raise(err::ERR_TYPE_MISMATCH, L"Type mismatch");
}

} // namespace velmora
