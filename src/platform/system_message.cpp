// The text half of system_error.h: no <windows.h>, so any text can be fed to it.
#include "platform/system_error.h"

#include <cwctype>

namespace velmora::platform {
namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The length of the insert marker at the start of text, 0 when there is none there.
size_t InsertLength(std::wstring_view text) {
    if (text.size() < 2 || text[0] != L'%' || text[1] < L'1' || text[1] > L'9')
        return 0;
    size_t end = text.size() > 2 && IsDigit(text[2]) ? 3 : 2;
    if (end < text.size() && text[end] == L'!') {
        size_t close = text.find(L'!', end + 1);
        if (close != std::wstring_view::npos)
            end = close + 1;
    }
    return end;
}

bool StartsSentence(const std::wstring& before) {
    size_t last = before.find_last_not_of(L' ');
    return last == std::wstring::npos ||
           std::wstring_view(L".!?").find(before[last]) != std::wstring_view::npos;
}

} // namespace

std::wstring MessageForOneLine(std::wstring_view message) {
    std::wstring text(message);
    for (size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
        text.erase(at, 2);
    std::erase(text, L'\0');
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        if (size_t insert = InsertLength(std::wstring_view(text).substr(i))) {
            std::wstring word(kInsertWord);
            if (StartsSentence(out))
                word[0] = static_cast<wchar_t>(std::towupper(word[0]));
            out += word;
            i += insert;
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace velmora::platform
