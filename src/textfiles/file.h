// Whole-file text reading and writing.
#pragma once
#include <string>

namespace velmora {

class File {
public:
    // The whole text of the file. A file that starts with a UTF-8 (EF BB BF) or UTF-16LE (FF FE)
    // byte-order mark is decoded as such, the mark removed; any other file is read in the system's
    // ANSI code page. A missing or unreadable file gives "" (or what could be read before the
    // failure). Reading never creates or changes anything on disk.
    std::wstring OpenForInput(const std::wstring& path) const;
    // Replaces the file by body, in the system's ANSI code page. Failures are ignored.
    void OpenForOutput(const std::wstring& path, const std::wstring& body) const;
};

} // namespace velmora
