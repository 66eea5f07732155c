#include "textfiles/ini_text.h"

namespace velmora::ini {

std::wstring_view SectionBody(std::wstring_view body, std::wstring_view section) {
    std::wstring header;
    header.reserve(section.size() + 2);
    header.append(L"[").append(section).append(L"]");
    size_t at = body.find(header);
    if (at == std::wstring_view::npos)
        return {};
    std::wstring_view rest = body.substr(at + header.size());
    return rest.substr(0, rest.find(L'[')); // npos: to the end
}

std::wstring_view KeyValue(std::wstring_view sectionBody, std::wstring_view key) {
    std::wstring needle;
    needle.reserve(key.size() + 3);
    needle.append(L"\r\n").append(key).append(L"=");
    size_t at = sectionBody.find(needle);
    if (at == std::wstring_view::npos)
        return {};
    std::wstring_view rest = sectionBody.substr(at + needle.size());
    return rest.substr(0, rest.find(L"\r\n"));
}

std::wstring NormalizeLineEnds(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            out.push_back(L'\r');
        out.push_back(text[i]);
    }
    return out;
}

} // namespace velmora::ini
