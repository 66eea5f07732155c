// One INI-style file held in memory: set the path, ReadINI once, then any number of lookups.
// Lookups never touch the disk; a changed file is seen after the next ReadINI. The lookup rules
// are those of textfiles/ini_text.h.
#pragma once
#include <string>
#include <string_view>

namespace velmora {

class File;

class IniFile {
public:
    explicit IniFile(const File& file) : file_(file) {}

    // Stores the path; does not read the file.
    void SetINIPath(std::wstring path) { path_ = std::move(path); }
    const std::wstring& INIPath() const { return path_; }

    // Reads the whole file at INIPath into memory, replacing what was there. A missing file reads
    // as empty (and is not created). Line ends are made CR LF here, once, so that the lookups work
    // the same for files saved with LF only.
    void ReadINI();

    // The value of key in section, or defaultValue when the file, the section or the key is
    // missing or the value is empty.
    std::wstring ReadValue(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue = L"") const;

private:
    std::wstring_view GetSectionBody(std::wstring_view body, const std::wstring& section) const;
    std::wstring_view GetKeyValue(std::wstring_view sectionBody, const std::wstring& key) const;

    const File& file_;
    std::wstring path_;
    std::wstring body_;
};

} // namespace velmora
