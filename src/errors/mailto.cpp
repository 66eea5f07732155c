#include "errors/mailto.h"

#include <cstdint>

namespace velmora::err {
namespace {

// The encoded form of the character that starts at text[i]; i moves past it.
std::wstring EncodeOne(std::wstring_view text, size_t& i) {
    char32_t cp = text[i++];
    if (cp >= 0xD800 && cp <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i++] - 0xDC00);
    else if (cp >= 0xD800 && cp <= 0xDFFF)
        cp = 0xFFFD;

    if ((cp >= U'A' && cp <= U'Z') || (cp >= U'a' && cp <= U'z') || (cp >= U'0' && cp <= U'9') ||
        cp == U'-' || cp == U'.' || cp == U'_' || cp == U'~')
        return std::wstring(1, static_cast<wchar_t>(cp));

    uint8_t bytes[4];
    int count;
    if (cp < 0x80) {
        bytes[0] = static_cast<uint8_t>(cp);
        count = 1;
    } else if (cp < 0x800) {
        bytes[0] = static_cast<uint8_t>(0xC0 | (cp >> 6));
        bytes[1] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
        count = 2;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<uint8_t>(0xE0 | (cp >> 12));
        bytes[1] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        bytes[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
        count = 3;
    } else {
        bytes[0] = static_cast<uint8_t>(0xF0 | (cp >> 18));
        bytes[1] = static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F));
        bytes[2] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        bytes[3] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
        count = 4;
    }
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (int k = 0; k < count; ++k) {
        out += L'%';
        out += kHex[bytes[k] >> 4];
        out += kHex[bytes[k] & 0xF];
    }
    return out;
}

} // namespace

std::wstring PercentEncode(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size();)
        out += EncodeOne(text, i);
    return out;
}

std::wstring BuildMailto(std::wstring_view address, std::wstring_view subject, std::wstring_view body,
                         size_t maxLength) {
    std::wstring url = L"mailto:" + std::wstring(address) + L"?subject=" + PercentEncode(subject) + L"&body=";
    std::wstring encodedBody = PercentEncode(body);
    if (url.size() + encodedBody.size() <= maxLength)
        return url + encodedBody;

    const std::wstring marker = PercentEncode(L"\r\n[...]");
    for (size_t i = 0; i < body.size();) {
        std::wstring piece = EncodeOne(body, i);
        if (url.size() + piece.size() + marker.size() > maxLength)
            break;
        url += piece;
    }
    if (url.size() + marker.size() <= maxLength)
        url += marker;
    return url;
}

} // namespace velmora::err
