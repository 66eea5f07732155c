#include "platform/version_info.h"

#include "platform/module.h"
#include "platform/on_demand.h"

#include <windows.h>
#include <vector>

namespace velmora::platform {

ProgramVersion FromFileVersion(uint32_t mostSignificant, uint32_t leastSignificant) {
    return {HIWORD(mostSignificant), LOWORD(mostSignificant), HIWORD(leastSignificant)};
}

std::wstring VersionText(const ProgramVersion& version) {
    return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
           std::to_wstring(version.revision);
}

std::optional<ProgramVersion> ExeFileVersion(const std::wstring& exePath) {
    namespace od = on_demand;
    DWORD ignored = 0;
    DWORD size = od::GetFileVersionInfoSizeW(exePath.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!od::GetFileVersionInfoW(exePath.c_str(), 0, size, data.data()) ||
        !od::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return FromFileVersion(info->dwFileVersionMS, info->dwFileVersionLS);
}

std::optional<ProgramVersion> RunningExeVersion() {
    std::wstring path = ProgramPath();
    return path.empty() ? std::nullopt : ExeFileVersion(path);
}

} // namespace velmora::platform
