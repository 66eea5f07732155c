// The program's own version as its version resource states it. The build writes the resource from
// one place (project(VERSION major.minor.patch) in CMakeLists.txt) as FILEVERSION major,minor,patch,0,
// and everything that shows or compares the version reads it back here: the third field is what
// the program calls its revision; the fourth is always 0 and never read.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace velmora::platform {

struct ProgramVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t revision = 0;
    auto operator<=>(const ProgramVersion&) const = default;
};

// The two 32-bit halves of FILEVERSION (most and least significant), as the resource stores them.
ProgramVersion FromFileVersion(uint32_t mostSignificant, uint32_t leastSignificant);
// "major.minor.revision", each in decimal.
std::wstring VersionText(const ProgramVersion& version);

// The version resource of an exe file; nothing when it has none.
std::optional<ProgramVersion> ExeFileVersion(const std::wstring& exePath);
// The running program's own.
std::optional<ProgramVersion> RunningExeVersion();

} // namespace velmora::platform
