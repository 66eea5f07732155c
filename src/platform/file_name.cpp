#include "platform/file_name.h"

namespace velmora::platform {
namespace {

// Windows opens the device for such a name whatever extension follows and whatever blanks end it.
bool IsDeviceName(std::wstring_view name) {
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.remove_suffix(1);
    std::wstring upper;
    for (wchar_t c : name)
        upper.push_back(c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (upper == device)
            return true;
    constexpr std::wstring_view kPortDigits = L"123456789\u00B9\u00B2\u00B3";
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
           kPortDigits.find(upper[3]) != kPortDigits.npos;
}

} // namespace

std::wstring SafeFileName(std::wstring_view name) {
    constexpr std::wstring_view kForbidden = L"\\/:*?\"<>|";
    std::wstring safe;
    for (wchar_t c : name)
        safe.push_back(c < L' ' || kForbidden.find(c) != kForbidden.npos ? L'_' : c);
    if (safe.size() > kMaxFileNameLength)
        safe.resize(safe[kMaxFileNameLength] >= 0xDC00 && safe[kMaxFileNameLength] <= 0xDFFF
                        ? kMaxFileNameLength - 1
                        : kMaxFileNameLength);
    while (!safe.empty() && (safe.back() == L' ' || safe.back() == L'.'))
        safe.pop_back();
    safe.erase(0, safe.find_first_not_of(L' ') == safe.npos ? safe.size() : safe.find_first_not_of(L' '));
    if (safe.empty() || IsDeviceName(safe))
        safe.insert(0, 1, L'_');
    return safe;
}

} // namespace velmora::platform
