#include "textfiles/file.h"

#include "platform/handles.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace velmora {
namespace {

// Text files this program reads are a few kilobytes; anything this large is not one of them, and
// the conversion calls below take int lengths.
constexpr LONGLONG kMaxFileBytes = 64 * 1024 * 1024;

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    // Without MB_ERR_INVALID_CHARS a malformed sequence becomes U+FFFD instead of losing the text.
    int chars = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (chars <= 0)
        return {};
    std::wstring text(chars, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), chars);
    return text;
}

std::wstring FromUtf16LE(std::string_view bytes) {
    // An odd final byte is half a code unit: it cannot be decoded and is dropped.
    std::wstring text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

// Whether bytes are well-formed UTF-8 throughout. Text in an ANSI code page with letters beyond
// ASCII practically never is: "Besch\xE4ftigt" breaks at the first of them.
bool IsUtf8(std::string_view bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// Editors save in the ANSI code page, in UTF-8 (most of them without a byte-order mark) or in
// UTF-16LE (with one). Well-formed UTF-8 reads as UTF-8 with or without its mark; anything else
// without a mark reads in the ANSI code page, as it always did.
std::wstring Decode(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
    if (bytes.starts_with(kUtf8Bom))
        return FromCodePage(CP_UTF8, bytes.substr(kUtf8Bom.size()));
    if (bytes.starts_with(kUtf16LEBom))
        return FromUtf16LE(bytes.substr(kUtf16LEBom.size()));
    return FromCodePage(IsUtf8(bytes) ? CP_UTF8 : CP_ACP, bytes);
}

} // namespace

std::wstring File::OpenForInput(const std::wstring& path) const {
    // OPEN_EXISTING: a missing file is an empty text, not a new empty file.
    platform::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxFileBytes)
        return {};
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    size_t total = 0;
    while (total < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &read,
                      nullptr) ||
            read == 0)
            break; // keep what was read so far
        total += read;
    }
    return Decode(std::string_view(bytes.data(), total));
}

void File::OpenForOutput(const std::wstring& path, const std::wstring& body) const {
    DeleteFileW(path.c_str());
    platform::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, body.data(), static_cast<int>(body.size()), nullptr, 0,
                                    nullptr, nullptr);
    std::vector<char> data(bytes > 0 ? bytes : 0);
    if (!data.empty())
        WideCharToMultiByte(CP_ACP, 0, body.data(), static_cast<int>(body.size()), data.data(), bytes,
                            nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

} // namespace velmora
