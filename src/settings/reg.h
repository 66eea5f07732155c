// The program's only road to the registry. Stateless: every call opens its key, does its work and
// closes it again. Failures are silent: what cannot be read is empty, what cannot be written is
// left as the platform left it. The *Checked forms report the result for callers that must know.
#pragma once
#include "settings/reg_data.h"

#include <windows.h>
#include <string>
#include <vector>

namespace velmora {

// Which registry view a key lives in. The outside client is a 32-bit program, so its machine-wide
// values are in the 32-bit view whatever this program's own bitness.
enum class RegView { Native, View32, View64 };

class Reg {
public:
    RegData ReadValue(const std::wstring& valueName, std::wstring keyName, HKEY root = nullptr,
                      RegView view = RegView::Native) const;
    void DeleteValue(const std::wstring& valueName, std::wstring keyName, HKEY root,
                     RegView view = RegView::Native) const;
    // As DeleteValue, but returns ERROR_SUCCESS (also when there was no such value) or the code
    // of the step that failed.
    LSTATUS DeleteValueChecked(const std::wstring& valueName, std::wstring keyName, HKEY root,
                               RegView view = RegView::Native) const;
    void WriteValue(const std::wstring& valueName, const RegData& value, DWORD regType, std::wstring keyName,
                    HKEY root = nullptr, RegView view = RegView::Native) const;
    // As WriteValue, but returns ERROR_SUCCESS or the code of the step that failed.
    LSTATUS WriteValueChecked(const std::wstring& valueName, const RegData& value, DWORD regType,
                              std::wstring keyName, HKEY root, RegView view = RegView::Native) const;
    void DeleteKey(std::wstring keyName, HKEY root, RegView view = RegView::Native) const;
    bool KeyExists(std::wstring keyName, HKEY root, RegView view = RegView::Native) const;
    // Hand a key to the system registry editor for export to / import from a file; the editor
    // runs on its own, minimized. Names with a double quote are refused (they would break the
    // command line).
    void ExportNode(HKEY root, std::wstring keyPath, const std::wstring& destFile) const;
    void ImportNode(const std::wstring& srcFile) const;
    // The numeric subkey names, each at its enumeration index; "" where a non-numeric name stood
    // before a later numeric one.
    std::vector<std::wstring> EnumKeys(const std::wstring& key, HKEY root,
                                       RegView view = RegView::Native) const;

    // Helpers, public so that they can be tested on their own.
    static std::wstring ExpandEnvString(const std::wstring& text);
    static void TrimKeyPath(std::wstring& path);
    static std::wstring RootKeyName(HKEY root);
    static std::wstring ExportCommandLine(HKEY root, std::wstring keyPath, const std::wstring& destFile);
    static std::wstring ImportCommandLine(const std::wstring& srcFile);
    static REGSAM ViewFlag(RegView view);
};

} // namespace velmora
