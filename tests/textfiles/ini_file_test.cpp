#include "textfiles/file.h"
#include "textfiles/ini_file.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

std::string Utf16LEFile(const std::wstring& text) {
    return "\xFF\xFE" +
           std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

class IniFileTest : public ::testing::Test {
protected:
    // A folder per test: CTest runs the tests of this file in parallel.
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = test::FreshTempDir(L"IniFile-" + std::wstring(name.begin(), name.end()));
    }
    void TearDown() override { test::RemoveTree(dir_); }
    std::wstring Write(const std::string& bytes, const std::wstring& name = L"lang.ini") {
        std::wstring path = dir_ + L"\\" + name;
        test::WriteBytes(path, bytes);
        return path;
    }

    std::wstring dir_;
    File file_;
};

} // namespace

TEST_F(IniFileTest, LookupRules) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring section, key;
        std::wstring expected; // with the default "<def>"
    };
    const std::string lang = "[Language]\r\nOK=Okay\r\nCancel=Abbrechen";
    const std::vector<Case> cases = {
        {"last line with line break", lang + "\r\n", L"Language", L"Cancel", L"Abbrechen"},
        {"last line without line break", lang, L"Language", L"Cancel", L"Abbrechen"},
        {"first key after header", lang, L"Language", L"OK", L"Okay"},
        {"nothing after =", "[Language]\r\nOK=\r\nX=1\r\n", L"Language", L"OK", L"<def>"},
        {"key differs in case", lang, L"Language", L"ok", L"<def>"},
        {"section differs in case", lang, L"language", L"OK", L"<def>"},
        {"key line starts with a space", "[A]\r\n key=v\r\n", L"A", L"key", L"<def>"},
        {"space before = is part of the key", "[A]\r\nx = 1\r\n", L"A", L"x", L"<def>"},
        {"key with its space", "[A]\r\nx = 1\r\n", L"A", L"x ", L" 1"},
        {"value keeps = and trailing space", "[A]\r\nx=a=b \r\n", L"A", L"x", L"a=b "},
        {"section ends at [ inside a value: x", "[A]\r\nx=1 [note]\r\ny=2\r\n", L"A", L"x", L"1 "},
        {"section ends at [ inside a value: y", "[A]\r\nx=1 [note]\r\ny=2\r\n", L"A", L"y", L"<def>"},
        {"header inside an earlier value wins", "[B]\r\nnote=[A]\r\nx=inside\r\n[A]\r\nx=real\r\n", L"A",
         L"x", L"inside"},
        {"duplicate key: first wins", "[A]\r\nx=first\r\nx=second\r\n", L"A", L"x", L"first"},
        {"duplicate section: first wins", "[A]\r\nx=1\r\n[A]\r\nx=2\r\ny=3\r\n", L"A", L"y", L"<def>"},
        {"key of another section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", L"A", L"y", L"<def>"},
        {"second section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", L"B", L"y", L"2"},
        {"key directly after header", "[A]x=1\r\n", L"A", L"x", L"<def>"},
        {"missing section", lang, L"Other", L"OK", L"<def>"},
        {"empty file", "", L"Language", L"OK", L"<def>"},
        {"comment lines are harmless", "[A]\r\n; x=no\r\n# comment\r\nx=yes\r\n", L"A", L"x", L"yes"},
        {"key with spaces and punctuation", "[A]\r\nSave & close?=Ja, bitte.\r\n", L"A", L"Save & close?",
         L"Ja, bitte."},
        {"lone CR stays in the value", "[A]\r\nx=1\r2\r\n", L"A", L"x", L"1\r2"},
        {"LF-only line ends", "[Language]\nOK=Okay\nCancel=Abbrechen\n", L"Language", L"Cancel",
         L"Abbrechen"},
        {"LF-only, last line without break", "[Language]\nOK=Okay\nCancel=Abbrechen", L"Language", L"Cancel",
         L"Abbrechen"},
        {"mixed line ends", "[A]\r\nx=1\ny=2\r\nz=3\n", L"A", L"y", L"2"},
        {"UTF-8 mark, Hebrew value",
         "\xEF\xBB\xBF[Language]\r\nCancel=\xD7\x91\xD7\x99\xD7\x98\xD7\x95\xD7\x9C\r\n", L"Language",
         L"Cancel", L"\u05D1\u05D9\u05D8\u05D5\u05DC"},
        {"UTF-8 mark, Hebrew key, LF only", "\xEF\xBB\xBF[Language]\n\xD7\x90=\xD7\x91\n", L"Language",
         L"\u05D0", L"\u05D1"},
        {"UTF-16LE mark, Cyrillic value",
         Utf16LEFile(L"[Language]\r\nCancel=\u041E\u0442\u043C\u0435\u043D\u0430"), L"Language", L"Cancel",
         L"\u041E\u0442\u043C\u0435\u043D\u0430"},
        {"UTF-16LE mark, Japanese value, LF only", Utf16LEFile(L"[Language]\nOK=\u4E86\u89E3\n"), L"Language",
         L"OK", L"\u4E86\u89E3"},
    };
    for (const auto& c : cases) {
        IniFile ini(file_);
        ini.SetINIPath(Write(c.bytes));
        ini.ReadINI();
        std::wstring got = ini.ReadValue(c.section, c.key, L"<def>");
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndCreatesNothing) {
    struct Case {
        const char* name;
        std::wstring path;
        std::wstring mustNotExist;
    };
    const std::vector<Case> cases = {
        {"missing file", dir_ + L"\\missing.ini", dir_ + L"\\missing.ini"},
        {"missing folder", dir_ + L"\\nofolder\\missing.ini", dir_ + L"\\nofolder"},
        {"no path set", L"", L""},
    };
    for (const auto& c : cases) {
        IniFile ini(file_);
        ini.SetINIPath(c.path);
        ini.ReadINI();
        EXPECT_EQ(ini.ReadValue(L"Language", L"OK", L"Okay"), L"Okay") << c.name;
        EXPECT_EQ(ini.ReadValue(L"Language", L"OK"), L"") << c.name;
        if (!c.mustNotExist.empty()) {
            EXPECT_EQ(GetFileAttributesW(c.mustNotExist.c_str()), INVALID_FILE_ATTRIBUTES)
                << c.name << ": reading created it";
        }
    }
}

// The text is read only by ReadINI: setting the path does not read, and a lookup sees the file as
// it was at the last ReadINI.
TEST_F(IniFileTest, ReadsOnlyOnReadINI) {
    std::wstring path = Write("[A]\r\nx=old\r\n");
    IniFile ini(file_);
    ini.SetINIPath(path);
    EXPECT_EQ(ini.INIPath(), path);
    EXPECT_EQ(ini.ReadValue(L"A", L"x", L"<def>"), L"<def>") << "read before ReadINI";

    ini.ReadINI();
    Write("[A]\r\nx=new\r\n");
    EXPECT_EQ(ini.ReadValue(L"A", L"x"), L"old") << "a lookup went to the disk";

    ini.ReadINI();
    EXPECT_EQ(ini.ReadValue(L"A", L"x"), L"new");

    ini.SetINIPath(dir_ + L"\\missing.ini");
    EXPECT_EQ(ini.ReadValue(L"A", L"x"), L"new") << "changing the path must not drop the text";
    ini.ReadINI();
    EXPECT_EQ(ini.ReadValue(L"A", L"x", L"<def>"), L"<def>") << "ReadINI must replace the text";
}
