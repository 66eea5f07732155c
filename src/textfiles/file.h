// Whole-file text reading and writing.
#pragma once
#include <string>

namespace velmora {

class File {
public:
    // The whole text of the file; "" when it is missing or cannot be read. Never creates anything.
    std::wstring OpenForInput(const std::wstring& path) const;
    // Replaces the file by body, in the system's ANSI code page. Failures are ignored.
    void OpenForOutput(const std::wstring& path, const std::wstring& body) const;
};

} // namespace velmora
