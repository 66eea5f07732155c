// The addresses the info window opens, made from the maker's build settings. Pure C++ (no
// <windows.h>).
#pragma once
#include <string>
#include <string_view>

namespace velmora::info {

// An absolute https:// address for the website: a bare host name handed to the shell would first
// be looked up as a file in the working folder. An address that names its scheme stays as it is.
std::wstring WebsiteUrl(std::wstring_view website);

// "mailto:" and the address (no blank after the colon: that would be part of the address).
std::wstring MailUrl(std::wstring_view address);

// The payment service's donation page for the receiving address, with its query in this order:
// cmd, business (every character of the address but letters, digits, "-", "_" and "~" written
// %xx of its UTF-8 bytes, "@" as %40 and "." as %2e), no_shipping, no_note, tax, currency_code, bn,
// charset.
std::wstring DonationUrl(std::wstring_view paymentHost, std::wstring_view receivingAddress);

} // namespace velmora::info
