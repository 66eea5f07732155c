#include "platform/system_error.h"

#include <windows.h>

namespace velmora::platform {

std::wstring ApiErrorText(uint32_t code) {
    wchar_t buffer[512];
    // Without FORMAT_MESSAGE_IGNORE_INSERTS the system would read an argument list for every "%1"
    // in the message, and there is none to give.
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             buffer, ARRAYSIZE(buffer), nullptr);
    if (n == 0 || n > ARRAYSIZE(buffer))
        return {};
    return MessageForOneLine(std::wstring_view(buffer, n));
}

} // namespace velmora::platform
