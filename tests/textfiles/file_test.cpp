#include "textfiles/file.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

// What the platform makes of bytes in the ANSI code page: files without a mark must read exactly so.
std::wstring Ansi(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::string Utf16LEBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kUtf16Bom = "\xFF\xFE";

} // namespace

TEST(FileInput, DecodesByMarkOrAnsi) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {"empty file", "", L""},
        {"plain ANSI", "[Language]\r\nOK=Okay\r\n", L"[Language]\r\nOK=Okay\r\n"},
        {"ANSI high bytes", "Gr\xFC\xDF\x65", Ansi("Gr\xFC\xDF\x65")},
        {"UTF-8 mark, Hebrew", kUtf8Bom + "OK=\xD7\x90\xD7\x99\xD7\xA9\xD7\x95\xD7\xA8",
         L"OK=\u05D0\u05D9\u05E9\u05D5\u05E8"},
        {"UTF-8 mark only", kUtf8Bom, L""},
        {"UTF-8 mark removed once", kUtf8Bom + kUtf8Bom + "x", L"\uFEFFx"},
        {"UTF-8 invalid byte keeps the rest",
         kUtf8Bom + "a\xFF"
                    "b",
         L"a\uFFFD"
         L"b"},
        {"UTF-8 four-byte character", kUtf8Bom + "\xF0\x9F\x98\x80", L"\U0001F600"},
        {"UTF-16LE mark, Cyrillic", kUtf16Bom + Utf16LEBytes(L"[Language]\r\nOK=\u041F\u0440\u0438\r\n"),
         L"[Language]\r\nOK=\u041F\u0440\u0438\r\n"},
        {"UTF-16LE mark only", kUtf16Bom, L""},
        {"UTF-16LE odd last byte dropped", kUtf16Bom + "A" + std::string(1, '\0') + "B", L"A"},
        {"UTF-16LE keeps NUL units", kUtf16Bom + Utf16LEBytes(std::wstring(L"a\0b", 3)),
         std::wstring(L"a\0b", 3)},
        {"half a UTF-8 mark is ANSI", "\xEF\xBBx", Ansi("\xEF\xBBx")},
        {"UTF-16BE mark is not taken", "\xFE\xFF" + std::string(1, '\0') + "A",
         Ansi("\xFE\xFF" + std::string(1, '\0') + "A")},
        {"single FF byte is ANSI", "\xFF", Ansi("\xFF")},
    };
    std::wstring dir = test::FreshTempDir(L"FileInputDecode");
    File file;
    for (const auto& c : cases) {
        std::wstring path = dir + L"\\case.txt";
        test::WriteBytes(path, c.bytes);
        std::wstring got = file.OpenForInput(path);
        EXPECT_EQ(got, c.expected) << c.name << ": got " << got.size() << " characters";
    }
    test::RemoveTree(dir);
}

TEST(FileInput, UnreadablePathGivesEmptyTextAndCreatesNothing) {
    std::wstring dir = test::FreshTempDir(L"FileInputMissing");
    CreateDirectoryW((dir + L"\\folder").c_str(), nullptr);
    struct Case {
        const char* name;
        std::wstring path;
        std::wstring mustNotExist;
    };
    const std::vector<Case> cases = {
        {"missing file in an existing folder", dir + L"\\missing.ini", dir + L"\\missing.ini"},
        {"file in a missing folder", dir + L"\\nofolder\\x.ini", dir + L"\\nofolder"},
        {"a folder, not a file", dir + L"\\folder", L""},
        {"empty path", L"", L""},
    };
    File file;
    for (const auto& c : cases) {
        EXPECT_EQ(file.OpenForInput(c.path), L"") << c.name;
        if (!c.mustNotExist.empty()) {
            EXPECT_FALSE(Exists(c.mustNotExist)) << c.name << ": reading created it";
        }
    }
    test::RemoveTree(dir);
}

TEST(FileOutput, ReplacesWholeFileInAnsi) {
    std::wstring dir = test::FreshTempDir(L"FileOutput");
    std::wstring path = dir + L"\\out.txt";
    File file;

    test::WriteBytes(path, std::string(1000, 'x'));
    file.OpenForOutput(path, L"short\r\n");
    EXPECT_EQ(test::ReadBytes(path), "short\r\n") << "a longer old file must not leave its tail behind";

    file.OpenForOutput(path, L"");
    EXPECT_TRUE(Exists(path)) << "an empty body still leaves the file";
    EXPECT_EQ(test::ReadBytes(path).size(), 0u);

    // What goes out in the ANSI code page comes back the same through a read without a mark.
    std::wstring text = Ansi("caf\xE9 [A]\r\nk=v");
    file.OpenForOutput(path, text);
    EXPECT_EQ(file.OpenForInput(path), text);

    // Failures are ignored: nothing is thrown and nothing is created.
    EXPECT_NO_THROW(file.OpenForOutput(dir + L"\\nofolder\\out.txt", L"x"));
    EXPECT_FALSE(Exists(dir + L"\\nofolder"));
    test::RemoveTree(dir);
}
