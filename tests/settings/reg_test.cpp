// The registry wrapper against Wine's real registry, in scratch keys that are deleted first.
#include "settings/reg.h"

#include "errors/err_trace.h"
#include "support/reg_tool.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;
using test::ScratchKey;

namespace {

constexpr wchar_t kBase[] = L"Software\\VelmoraTest\\Reg";

// Stores raw bytes, bypassing the wrapper, to build values no well-behaved writer would.
void StoreRaw(const ScratchKey& key, const wchar_t* name, DWORD type, const void* data, DWORD size,
              RegView view = RegView::Native) {
    platform::UniqueHKey h;
    ASSERT_EQ(RegCreateKeyExW(key.root(), key.path().c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | Reg::ViewFlag(view), nullptr, h.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

std::vector<BYTE> LoadRaw(const ScratchKey& key, const wchar_t* name, DWORD* type = nullptr) {
    platform::UniqueHKey h;
    if (RegOpenKeyExW(key.root(), key.path().c_str(), 0, KEY_QUERY_VALUE, h.put()) != ERROR_SUCCESS)
        return {};
    DWORD size = 0, t = 0;
    if (RegQueryValueExW(h.get(), name, nullptr, &t, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> data(size);
    RegQueryValueExW(h.get(), name, nullptr, &t, data.data(), &size);
    if (type)
        *type = t;
    return data;
}

bool KeyExists(HKEY root, const std::wstring& path, RegView view = RegView::Native) {
    platform::UniqueHKey h;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | Reg::ViewFlag(view), h.put()) == ERROR_SUCCESS;
}

class RegTest : public ::testing::Test {
protected:
    static std::wstring TestKey() {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return std::wstring(kBase) + L"\\" + std::wstring(name.begin(), name.end());
    }
    ScratchKey key{HKEY_CURRENT_USER, TestKey()};
    Reg reg;
};

} // namespace

TEST_F(RegTest, MissingValuesAndKeysReadAsEmpty) {
    EXPECT_TRUE(reg.ReadValue(L"nothing", key.path(), HKEY_CURRENT_USER).IsEmpty()) << "missing key";
    reg.WriteValue(L"other", L"x", REG_SZ, key.path(), HKEY_CURRENT_USER);
    RegData missing = reg.ReadValue(L"nothing", key.path(), HKEY_CURRENT_USER);
    EXPECT_TRUE(missing.IsEmpty()) << "missing value";
    EXPECT_EQ(missing.AsText(), L"");
    EXPECT_EQ(missing.AsNumber(), 0);
    EXPECT_TRUE(reg.ReadValue(L"other", key.path()).IsEmpty()) << "no root given names no key";
}

TEST_F(RegTest, StringValuesLoseOnlyTheirTerminatingNuls) {
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::wstring stored; // written with exactly these characters (NULs included)
        size_t extraByte;    // an odd trailing byte
        std::wstring expected;
    } cases[] = {
        {L"terminated", REG_SZ, std::wstring(L"abc\0", 4), 0, L"abc"},
        {L"unterminated", REG_SZ, L"abc", 0, L"abc"},
        {L"zero bytes", REG_SZ, L"", 0, L""},
        {L"zero bytes expand", REG_EXPAND_SZ, L"", 0, L""},
        {L"embedded nul kept", REG_SZ, std::wstring(L"a\0b\0", 4), 0, std::wstring(L"a\0b", 3)},
        {L"odd byte count", REG_SZ, L"abc", 1, L"abc"},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(c.stored.data()),
                                reinterpret_cast<const BYTE*>(c.stored.data()) + c.stored.size() * 2);
        bytes.resize(bytes.size() + c.extraByte, 0);
        StoreRaw(key, c.name, c.type, bytes.data(), static_cast<DWORD>(bytes.size()));
        RegData read = reg.ReadValue(c.name, key.path(), HKEY_CURRENT_USER);
        EXPECT_TRUE(read.IsText()) << c.name;
        EXPECT_EQ(read.AsText(), c.expected) << c.name << ": got " << read.AsText().size() << " chars";
    }
}

TEST_F(RegTest, NumbersBinaryAndDefaultValue) {
    reg.WriteValue(L"n", int32_t{-5}, REG_DWORD, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"n", key.path(), HKEY_CURRENT_USER).AsNumber(), -5);
    EXPECT_EQ(reg.ReadValue(L"n", key.path(), HKEY_CURRENT_USER).AsText(), L"-5");

    // Texts are converted for REG_DWORD; what is no number is the caller's error.
    reg.WriteValue(L"t", L" 123456 ", REG_DWORD, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"t", key.path(), HKEY_CURRENT_USER).AsNumber(), 123456);
    for (const wchar_t* bad : {L"12a", L"", L"2147483648"}) {
        try {
            reg.WriteValue(L"bad", bad, REG_DWORD, key.path(), HKEY_CURRENT_USER);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const err::Error& e) {
            EXPECT_TRUE(e.record().number == err::ERR_TYPE_MISMATCH || e.record().number == err::ERR_OVERFLOW)
                << bad << " gave " << e.record().number;
        }
    }
    EXPECT_TRUE(reg.ReadValue(L"bad", key.path(), HKEY_CURRENT_USER).IsEmpty())
        << "a failed conversion wrote";

    const BYTE ab[] = {0x41, 0x42};
    StoreRaw(key, L"bin", REG_BINARY, ab, 2);
    EXPECT_EQ(reg.ReadValue(L"bin", key.path(), HKEY_CURRENT_USER).AsText(), L"AB");
    reg.WriteValue(L"bin2", L"AB", REG_BINARY, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(LoadRaw(key, L"bin2"), (std::vector<BYTE>{0x41, 0x42}));

    reg.WriteValue(L"", L"default text", REG_SZ, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"", key.path(), HKEY_CURRENT_USER).AsText(), L"default text");
}

TEST_F(RegTest, ExpandStringsAreExpandedOnlyWhenTheyHoldAPercentSign) {
    wchar_t expected[MAX_PATH];
    ExpandEnvironmentStringsW(L"%SystemRoot%\\notepad.exe", expected, MAX_PATH);
    reg.WriteValue(L"path", L"%SystemRoot%\\notepad.exe", REG_EXPAND_SZ, key.path(), HKEY_CURRENT_USER);
    std::wstring read = reg.ReadValue(L"path", key.path(), HKEY_CURRENT_USER).AsText();
    EXPECT_EQ(read, expected);
    EXPECT_EQ(read.find(L'%'), std::wstring::npos) << "not expanded: " << read;
    EXPECT_EQ(read.find(L'\0'), std::wstring::npos) << "a NUL is left at the end";

    reg.WriteValue(L"plain", L"C:\\plain", REG_EXPAND_SZ, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"plain", key.path(), HKEY_CURRENT_USER).AsText(), L"C:\\plain");
    reg.WriteValue(L"unknown", L"%VELMORA_NO_SUCH_VAR%x", REG_EXPAND_SZ, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"unknown", key.path(), HKEY_CURRENT_USER).AsText(), L"%VELMORA_NO_SUCH_VAR%x");
}

TEST_F(RegTest, MultiStringsRoundTripAndShortValuesAreEmptyLists) {
    const wchar_t stored[] = L"a\0b\0"; // plus the array's own terminator: a NUL b NUL NUL
    StoreRaw(key, L"ab", REG_MULTI_SZ, stored, sizeof(stored));
    auto list = reg.ReadValue(L"ab", key.path(), HKEY_CURRENT_USER).AsList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], L"a");
    EXPECT_EQ(list[1], L"b");

    reg.WriteValue(L"written", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ, key.path(),
                   HKEY_CURRENT_USER);
    DWORD type = 0;
    EXPECT_EQ(LoadRaw(key, L"written", &type), (std::vector<BYTE>{0x61, 0, 0, 0, 0x62, 0, 0, 0, 0, 0}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));

    for (DWORD size : {0u, 1u, 2u}) {
        const BYTE zeros[2] = {0, 0};
        StoreRaw(key, L"short", REG_MULTI_SZ, zeros, size);
        RegData read = reg.ReadValue(L"short", key.path(), HKEY_CURRENT_USER);
        EXPECT_TRUE(read.IsList()) << size << " bytes";
        EXPECT_TRUE(read.AsList().empty()) << size << " bytes gave " << read.AsList().size() << " entries";
    }
    EXPECT_THROW(reg.WriteValue(L"x", L"not a list", REG_MULTI_SZ, key.path(), HKEY_CURRENT_USER),
                 err::Error);
}

TEST_F(RegTest, TrailingBackslashIsTrimmedOnceExceptByEnumKeys) {
    struct Case {
        std::wstring in, out;
    } cases[] = {
        {L"a\\b\\", L"a\\b"}, {L"a\\b\\\\", L"a\\b\\"}, {L"a\\b", L"a\\b"}, {L"", L""}, {L"\\", L""}};
    for (auto c : cases) {
        std::wstring path = c.in;
        Reg::TrimKeyPath(path);
        EXPECT_EQ(path, c.out) << "from '" << c.in << "'";
    }
    reg.WriteValue(L"v", L"1", REG_SZ, key.path() + L"\\", HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"v", key.path(), HKEY_CURRENT_USER).AsText(), L"1");
    EXPECT_EQ(reg.ReadValue(L"v", key.path() + L"\\", HKEY_CURRENT_USER).AsText(), L"1");
}

TEST_F(RegTest, DeleteValueCreatesAMissingKeyAndUnknownTypesWriteNothing) {
    std::wstring sub = key.path() + L"\\created";
    reg.DeleteValue(L"v", sub, HKEY_CURRENT_USER);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, sub)) << "DeleteValue did not create the key";

    reg.WriteValue(L"v", L"1", REG_SZ, key.path(), HKEY_CURRENT_USER);
    reg.DeleteValue(L"v", key.path(), HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.ReadValue(L"v", key.path(), HKEY_CURRENT_USER).IsEmpty());

    for (DWORD type : {0u, 5u, 6u, 8u, 11u}) {
        std::wstring typed = key.path() + L"\\type" + std::to_wstring(type);
        reg.WriteValue(L"v", L"1", type, typed, HKEY_CURRENT_USER);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, typed)) << "type " << type;
        platform::UniqueHKey h;
        RegOpenKeyExW(HKEY_CURRENT_USER, typed.c_str(), 0, KEY_QUERY_VALUE, h.put());
        EXPECT_NE(RegQueryValueExW(h.get(), L"v", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS)
            << "type " << type << " wrote a value";
    }

    reg.DeleteKey(sub + L"\\", HKEY_CURRENT_USER);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, sub));
}

TEST_F(RegTest, EnumKeysKeepsEnumerationPositions) {
    // The registry enumerates subkeys in name order: 123, 12x, 456.
    for (const wchar_t* name : {L"456", L"12x", L"123"})
        reg.DeleteValue(L"", key.path() + L"\\ordered\\" + name, HKEY_CURRENT_USER);
    auto list = reg.EnumKeys(key.path() + L"\\ordered", HKEY_CURRENT_USER);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], L"123");
    EXPECT_EQ(list[1], L"");
    EXPECT_EQ(list[2], L"456");

    reg.DeleteValue(L"", key.path() + L"\\letters\\abc", HKEY_CURRENT_USER);
    reg.DeleteValue(L"", key.path() + L"\\trailing\\1", HKEY_CURRENT_USER);
    reg.DeleteValue(L"", key.path() + L"\\trailing\\x", HKEY_CURRENT_USER);
    reg.DeleteValue(L"", key.path() + L"\\empty", HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.EnumKeys(key.path() + L"\\letters", HKEY_CURRENT_USER).empty());
    EXPECT_TRUE(reg.EnumKeys(key.path() + L"\\empty", HKEY_CURRENT_USER).empty());
    EXPECT_TRUE(reg.EnumKeys(key.path() + L"\\missing", HKEY_CURRENT_USER).empty());
    EXPECT_EQ(reg.EnumKeys(key.path() + L"\\trailing", HKEY_CURRENT_USER).size(), 1u)
        << "a trailing name left room";
}

TEST_F(RegTest, MachineValuesLandInTheRequestedView) {
    ScratchKey machine(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest\\View", RegView::View32);
    ScratchKey machine64(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest\\View", RegView::View64);
    reg.WriteValue(L"where", L"32", REG_SZ, machine.path(), HKEY_LOCAL_MACHINE, RegView::View32);

    std::string out32, out64;
    EXPECT_EQ(test::RunRegTool(L"query HKLM\\Software\\VelmoraTest\\View /v where /reg:32", &out32), 0)
        << out32;
    EXPECT_NE(out32.find("32"), std::string::npos) << out32;
    EXPECT_NE(test::RunRegTool(L"query HKLM\\Software\\VelmoraTest\\View /v where /reg:64", &out64), 0)
        << "the value is visible in the 64-bit view too: " << out64;
    EXPECT_TRUE(reg.ReadValue(L"where", machine.path(), HKEY_LOCAL_MACHINE, RegView::View64).IsEmpty());
    EXPECT_EQ(reg.ReadValue(L"where", machine.path(), HKEY_LOCAL_MACHINE, RegView::View32).AsText(), L"32");

    ASSERT_EQ(test::RunRegTool(L"add HKLM\\Software\\VelmoraTest\\View\\1 /f /reg:32"), 0);
    auto keys = reg.EnumKeys(machine.path(), HKEY_LOCAL_MACHINE, RegView::View32);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], L"1");
    reg.DeleteKey(machine.path() + L"\\1", HKEY_LOCAL_MACHINE, RegView::View32);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine.path() + L"\\1", RegView::View32));
}

TEST(RegCommandLines, ExportAndImportQuoteTheirArgumentsAndRefuseQuotes) {
    EXPECT_EQ(Reg::ExportCommandLine(HKEY_CURRENT_USER, L"Software\\X\\", L"C:\\a b.reg"),
              L"regedit /e \"C:\\a b.reg\" \"HKEY_Current_User\\Software\\X\"");
    EXPECT_EQ(Reg::ExportCommandLine(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000005)), L"K", L"f"),
              L"regedit /e \"f\" \"\\K\"");
    EXPECT_EQ(Reg::ImportCommandLine(L"C:\\in.reg"), L"regedit /s \"C:\\in.reg\"");
    EXPECT_EQ(Reg::RootKeyName(HKEY_LOCAL_MACHINE), L"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(Reg::RootKeyName(HKEY_CLASSES_ROOT), L"HKEY_CLASSES_ROOT");
    EXPECT_EQ(Reg::RootKeyName(HKEY_USERS), L"HKEY_USERS");

    // A quote would end the argument early and let the rest become further switches.
    for (auto [path, file] :
         {std::pair<const wchar_t*, const wchar_t*>{L"K\" /s \"x", L"f"}, {L"K", L"f\" /s"}}) {
        try {
            (void)Reg::ExportCommandLine(HKEY_CURRENT_USER, path, file);
            ADD_FAILURE() << "accepted " << path << " / " << file;
        } catch (const err::Error& e) {
            EXPECT_EQ(e.record().number, err::ERR_INVALID_CALL);
        }
    }
    EXPECT_THROW((void)Reg::ImportCommandLine(L"a\".reg"), err::Error);
}

TEST_F(RegTest, ExportAndImportGoThroughTheRegistryEditor) {
    std::wstring dir = test::FreshTempDir(L"regedit");
    std::wstring file = dir + L"\\export file.reg";
    reg.WriteValue(L"exported", L"yes", REG_SZ, key.path(), HKEY_CURRENT_USER);
    try {
        reg.ExportNode(HKEY_CURRENT_USER, key.path() + L"\\", file);
    } catch (const err::Error& e) {
        FAIL() << "export not started: " << e.record().number << " system error " << e.record().lastSystemError;
    }
    ASSERT_TRUE(test::WaitFor([&] { return test::ReadBytes(file).size() > 10; }))
        << "no export file appeared";
    std::string bytes;
    ASSERT_TRUE(test::WaitFor([&] {
        bytes = test::ReadBytes(file);
        return bytes.find(std::string("e\0x\0p\0o\0r\0t\0e\0d", 15)) != std::string::npos;
    })) << "the export does not hold the value";

    std::wstring import = dir + L"\\import.reg";
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" +
                       std::string(key.path().begin(), key.path().end()) + "\\imported]\r\n\"v\"=\"42\"\r\n";
    test::WriteBytes(import, text);
    try {
        reg.ImportNode(import);
    } catch (const err::Error& e) {
        FAIL() << "import not started: " << e.record().number << " system error " << e.record().lastSystemError;
    }
    EXPECT_TRUE(test::WaitFor([&] {
        return reg.ReadValue(L"v", key.path() + L"\\imported", HKEY_CURRENT_USER).AsText() == L"42";
    })) << "the import did not arrive";
    test::RemoveTree(dir);
}
