#include "textfiles/file.h"

#include "platform/handles.h"

#include <vector>

namespace velmora {

std::wstring File::OpenForInput(const std::wstring& path) const {
    platform::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 64 * 1024 * 1024)
        return {};
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    if (read == 0)
        return {};
    int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), nullptr, 0);
    std::wstring text(chars, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), text.data(), chars);
    return text;
}

void File::OpenForOutput(const std::wstring& path, const std::wstring& body) const {
    DeleteFileW(path.c_str());
    platform::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, body.data(), static_cast<int>(body.size()), nullptr, 0,
                                    nullptr, nullptr);
    std::vector<char> data(bytes);
    WideCharToMultiByte(CP_ACP, 0, body.data(), static_cast<int>(body.size()), data.data(), bytes, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

} // namespace velmora
