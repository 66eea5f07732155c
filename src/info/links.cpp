#include "info/links.h"

#include <cstdint>

namespace velmora::info {
namespace {

bool Unreserved(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'_' || c == L'~';
}

void AppendByte(std::wstring& out, uint32_t byte) {
    constexpr wchar_t kHex[] = L"0123456789abcdef";
    out += L'%';
    out += kHex[(byte >> 4) & 0xF];
    out += kHex[byte & 0xF];
}

// Percent-encodes every character but the unreserved ones above ("." included), as UTF-8.
std::wstring Encode(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c < 0x80 && Unreserved(static_cast<wchar_t>(c))) {
            out += static_cast<wchar_t>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD; // half of a pair: no character at all
        if (c < 0x80) {
            AppendByte(out, c);
        } else if (c < 0x800) {
            AppendByte(out, 0xC0 | (c >> 6));
            AppendByte(out, 0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            AppendByte(out, 0xE0 | (c >> 12));
            AppendByte(out, 0x80 | ((c >> 6) & 0x3F));
            AppendByte(out, 0x80 | (c & 0x3F));
        } else {
            AppendByte(out, 0xF0 | (c >> 18));
            AppendByte(out, 0x80 | ((c >> 12) & 0x3F));
            AppendByte(out, 0x80 | ((c >> 6) & 0x3F));
            AppendByte(out, 0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

std::wstring WebsiteUrl(std::wstring_view website) {
    if (website.starts_with(L"https://") || website.starts_with(L"http://"))
        return std::wstring(website);
    return L"https://" + std::wstring(website);
}

std::wstring MailUrl(std::wstring_view address) {
    return L"mailto:" + std::wstring(address);
}

std::wstring DonationUrl(std::wstring_view paymentHost, std::wstring_view receivingAddress) {
    return L"https://" + std::wstring(paymentHost) + L"/cgi-bin/webscr?cmd=_xclick&business=" +
           Encode(receivingAddress) +
           L"&no_shipping=1&no_note=1&tax=0&currency_code=EUR&bn=PP%2dDonationsBF&charset=UTF%2d8";
}

} // namespace velmora::info
