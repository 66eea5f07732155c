// The INI reader: its lookup rules, and files of every kind.
#include "textfiles/file.h"
#include "textfiles/ini_file.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <optional>

using namespace velmora;

namespace {
std::string Utf16LE(const std::wstring& text) {
    return "\xFF\xFE" +
           std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}
const std::string kUtf8Mark = "\xEF\xBB\xBF";
} // namespace

// Every row writes its bytes (nothing: no file) and looks one key up with the default "<def>".
TEST(IniFile, LookupRules) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;
        const wchar_t *section, *key, *expected;
    };
    const std::string lang = "[Language]\r\nOK=Okay\r\nCancel=Abbrechen";
    const Case cases[] = {
        // clang-format off
        {"missing file", std::nullopt, L"Language", L"OK", L"<def>"},
        {"empty file", "", L"Language", L"OK", L"<def>"},
        {"last line with line break", lang + "\r\n", L"Language", L"Cancel", L"Abbrechen"},
        {"last line without line break", lang, L"Language", L"Cancel", L"Abbrechen"},
        {"nothing after =", "[A]\r\nx=\r\ny=1\r\n", L"A", L"x", L"<def>"},
        {"a key only at a line start; the first line wins", "[A]x=0\r\nyx=1\r\nx=2\r\nx=3", L"A", L"x", L"2"},
        {"key differs in case", lang, L"Language", L"ok", L"<def>"},
        {"section differs in case", lang, L"language", L"OK", L"<def>"},
        {"spaces belong to key and value", "[A]\r\nx = 1 \r\n", L"A", L"x ", L" 1 "},
        {"section ends at [ in a value: x", "[A]\r\nx=1 [note]\r\ny=2\r\n", L"A", L"x", L"1 "},
        {"section ends at [ in a value: y", "[A]\r\nx=1 [note]\r\ny=2\r\n", L"A", L"y", L"<def>"},
        {"header inside an earlier value", "[B]\r\nn=[A]\r\nx=inside\r\n[A]\r\nx=real\r\n", L"A", L"x", L"inside"},
        {"lone CR stays in the value", "[A]\r\nx=1\r2\r\n", L"A", L"x", L"1\r2"},
        {"mixed line ends", "[A]\r\nx=1\ny=2\r\n", L"A", L"y", L"2"},
        {"UTF-8 mark, Hebrew key, LF only", kUtf8Mark + "[L]\n\xD7\x90=\xD7\x91", L"L", L"\u05D0", L"\u05D1"},
        {"UTF-8 mark, invalid byte kept as U+FFFD", kUtf8Mark + "[A]\r\nx=a\xFF!", L"A", L"x", L"a\uFFFD!"},
        {"UTF-16LE mark, LF only, odd last byte", Utf16LE(L"[L]\nOK=\u4E86\u89E3\n") + "x", L"L", L"OK", L"\u4E86\u89E3"},
        {"UTF-16BE mark is no mark", "\xFE\xFF[A]\r\nx=1", L"A", L"x", L"1"},
        {"UTF-8 without a mark", "[A]\r\nx=Besch\xC3\xA4\x66tigt \xE2\x82\xAC", L"A", L"x", L"Besch\u00E4ftigt \u20AC"},
        {"no UTF-8: the ANSI code page", "[A]\r\nx=Besch\xE4\x66tigt \x80", L"A", L"x", L"Besch\u00E4ftigt \u20AC"},
        // clang-format on
    };
    std::wstring dir = test::FreshTempDir(L"IniLookupRules");
    std::wstring path = dir + L"\\lang.ini";
    File file;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(path.c_str());
        if (c.bytes)
            test::WriteBytes(path, *c.bytes);
        IniFile ini(file);
        ini.SetINIPath(path);
        ini.ReadINI();
        EXPECT_EQ(ini.ReadValue(c.section, c.key, L"<def>"), c.expected);
        EXPECT_EQ(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.bytes.has_value())
            << "reading created or removed the file";
    }
    test::RemoveTree(dir);
}

// Only ReadINI reads: setting the path does not, a lookup sees the file as of the last ReadINI.
// The file is rewritten shorter through File::OpenForOutput, which must leave no old tail; a second
// UTF-8 mark is text (the version check reads through File too).
TEST(IniFile, ReadsOnlyOnReadINI) {
    std::wstring dir = test::FreshTempDir(L"IniReadsOnce");
    std::wstring path = dir + L"\\a.ini";
    test::WriteBytes(path, "[A]\r\nx=old and longer");
    File file;
    IniFile ini(file);
    ini.SetINIPath(path);
    EXPECT_EQ(ini.ReadValue(L"A", L"x", L"<def>"), L"<def>") << "read before ReadINI";
    ini.ReadINI();
    file.OpenForOutput(path, L"[A]\r\nx=new");
    EXPECT_EQ(ini.ReadValue(L"A", L"x"), L"old and longer") << "a lookup went to the disk";
    ini.ReadINI();
    EXPECT_EQ(ini.ReadValue(L"A", L"x"), L"new");
    ini.SetINIPath(dir + L"\\missing.ini");
    ini.ReadINI();
    EXPECT_EQ(ini.ReadValue(L"A", L"x", L"<def>"), L"<def>") << "ReadINI kept the old text";
    test::WriteBytes(path, kUtf8Mark + kUtf8Mark + "1.2");
    EXPECT_EQ(file.OpenForInput(path), L"\uFEFF1.2");
    test::RemoveTree(dir);
}
