// The registry wrapper against Wine's real registry, in scratch keys that are deleted first.
#include "settings/reg.h"

#include "errors/err_trace.h"
#include "support/reg_tool.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <optional>

using namespace velmora;
using test::ScratchKey;

namespace {

// The bytes of UTF-16 text, cut or extended by a few bytes.
std::string Bytes(std::wstring_view text, int extra = 0) {
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    bytes.resize(bytes.size() + extra, '\0');
    return bytes;
}

// What a read gave, as one comparable text.
std::wstring Shown(const RegData& d) {
    if (d.IsEmpty())
        return L"empty";
    if (d.IsNumber())
        return L"number " + d.AsText();
    if (d.IsText())
        return L"text " + d.AsText();
    std::wstring list = L"list";
    for (const auto& item : d.AsList())
        list += L" [" + item + L"]";
    return list;
}

std::optional<std::string> LoadRaw(HKEY root, const std::wstring& path, const wchar_t* name, DWORD* type) {
    platform::UniqueHKey h;
    DWORD size = 0;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, h.put()) != ERROR_SUCCESS ||
        RegQueryValueExW(h.get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    RegQueryValueExW(h.get(), name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    return data;
}

bool KeyExists(HKEY root, const std::wstring& path, RegView view = RegView::Native) {
    platform::UniqueHKey h;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | Reg::ViewFlag(view), h.put()) == ERROR_SUCCESS;
}

class RegTest : public ::testing::Test {
protected:
    std::wstring Sub(const std::wstring& name) const { return key.path() + L"\\" + name; }
    static std::wstring TestKey() {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        return L"Software\\VelmoraTest\\Reg\\" + std::wstring(name.begin(), name.end());
    }
    ScratchKey key{HKEY_CURRENT_USER, TestKey()};
    Reg reg;
};

TEST_F(RegTest, ReadsEveryStoredTypeAsTheProgramNeedsIt) {
    SetEnvironmentVariableW(L"VELMORA_TEST_DIR", L"C:\\x");
    struct Case {
        DWORD type;
        std::string bytes; // stored as they are, no terminator added
        std::wstring shown;
    } cases[] = {
        {REG_SZ, Bytes(L"abc", 2), L"text abc"},
        {REG_SZ, Bytes(L"abc"), L"text abc"},
        {REG_SZ, Bytes(L"abc", 1), L"text abc"},
        {REG_SZ, "", L"text "},
        {REG_EXPAND_SZ, "", L"text "},
        {REG_SZ, Bytes(std::wstring_view(L"a\0b", 3), 2), std::wstring(L"text a\0b", 8)},
        {REG_EXPAND_SZ, Bytes(L"%VELMORA_TEST_DIR%\\y", 2), L"text C:\\x\\y"},
        {REG_EXPAND_SZ, Bytes(L"%VELMORA_NO_SUCH_VAR%x", 2), L"text %VELMORA_NO_SUCH_VAR%x"},
        {REG_BINARY, "AB", L"text AB"},
        {REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4), L"number -5"},
        {REG_DWORD, "\x01", L"empty"},
        {REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0b\0", 5)), L"list [a] [b]"},
        {REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0\0b", 4)), L"list [a] [] [b]"},
        {REG_MULTI_SZ, "", L"list"},
        {REG_MULTI_SZ, std::string(1, '\0'), L"list"},
        {REG_MULTI_SZ, std::string(2, '\0'), L"list"},
        {REG_QWORD, std::string(8, '\1'), L"empty"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        platform::UniqueHKey h;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, h.put(), nullptr),
                  ERROR_SUCCESS);
        std::wstring name = L"v" + std::to_wstring(i);
        RegSetValueExW(h.get(), name.c_str(), 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                       static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(Shown(reg.ReadValue(name, key.path(), HKEY_CURRENT_USER)), c.shown) << "row " << i;
    }
    EXPECT_EQ(Shown(reg.ReadValue(L"missing", key.path(), HKEY_CURRENT_USER)), L"empty");
    EXPECT_EQ(Shown(reg.ReadValue(L"v0", Sub(L"missing"), HKEY_CURRENT_USER)), L"empty") << "missing key";
    EXPECT_EQ(Shown(reg.ReadValue(L"v0", key.path())), L"empty") << "no root names no key";
}

TEST_F(RegTest, WritesWhatTheTypeAsksOrNothing) {
    struct Case {
        const wchar_t* name;
        RegData value;
        DWORD type;
        std::optional<std::string> stored; // nullopt: no value (the key is made all the same)
        int32_t error = 0;                 // a conversion the caller got wrong
    } cases[] = {
        {L"n", int32_t{-5}, REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4)},
        {L"n", L" 123456 ", REG_DWORD, std::string("\x40\xE2\x01\x00", 4)},
        {L"n", L"-2147483648", REG_DWORD, std::string("\x00\x00\x00\x80", 4)},
        {L"n", L"12a", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"n", L"", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"n", L"2147483648", REG_DWORD, std::nullopt, err::ERR_OVERFLOW},
        {L"", L"default", REG_SZ, Bytes(L"default", 2)},
        {L"e", L"%x%", REG_EXPAND_SZ, Bytes(L"%x%", 2)},
        {L"b", L"AB", REG_BINARY, "AB"},
        {L"m", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0b\0", 5))},
        {L"m", std::vector<std::wstring>{}, REG_MULTI_SZ, std::string(4, '\0')},
        {L"m", L"not a list", REG_MULTI_SZ, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"t", L"1", REG_NONE, std::nullopt},
        {L"t", L"1", REG_LINK, std::nullopt},
        {L"t", L"1", REG_RESOURCE_LIST, std::nullopt},
        {L"t", L"1", REG_QWORD, std::nullopt},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::wstring path = Sub(std::to_wstring(i));
        int32_t error = 0;
        try {
            reg.WriteValue(c.name, c.value, c.type, path, HKEY_CURRENT_USER);
        } catch (const err::Error& e) {
            error = e.record().number;
        }
        EXPECT_EQ(error, c.error) << "row " << i;
        DWORD type = 0;
        auto stored = LoadRaw(HKEY_CURRENT_USER, path, c.name, &type);
        EXPECT_EQ(stored, c.stored) << "row " << i;
        EXPECT_TRUE(!stored || type == c.type) << "row " << i << " stored type " << type;
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, path), c.error == 0) << "row " << i;
    }
}

TEST_F(RegTest, KeysTrimOneTrailingBackslashAndDeleteValueMakesItsKey) {
    for (auto [in, out] :
         {std::pair{L"a\\b\\", L"a\\b"}, {L"a\\b\\\\", L"a\\b\\"}, {L"a", L"a"}, {L"\\", L""}, {L"", L""}}) {
        std::wstring path = in;
        Reg::TrimKeyPath(path);
        EXPECT_EQ(path, out) << testing::PrintToString(std::wstring(in));
    }
    reg.WriteValue(L"v", L"1", REG_SZ, Sub(L"k\\"), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"v", Sub(L"k"), HKEY_CURRENT_USER).AsText(), L"1");
    reg.DeleteValue(L"v", Sub(L"k\\"), HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.ReadValue(L"v", Sub(L"k"), HKEY_CURRENT_USER).IsEmpty());
    reg.DeleteValue(L"v", Sub(L"made"), HKEY_CURRENT_USER);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sub(L"made"))) << "DeleteValue did not make the key";
    reg.DeleteKey(Sub(L"made\\"), HKEY_CURRENT_USER);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sub(L"made")));
}

TEST_F(RegTest, EnumKeysKeepsEnumerationPositions) {
    const struct {
        const wchar_t* parent;
        std::vector<const wchar_t*> children;
        std::vector<std::wstring> expected;
    } cases[] = {
        {L"ordered", {L"456", L"12x", L"123"}, {L"123", L"", L"456"}}, // enumerated as 123, 12x, 456
        {L"letters", {L"abc"}, {}},
        {L"trailing", {L"1", L"x"}, {L"1"}},
        {L"empty", {}, {}},
        {L"missing", {}, {}},
    };
    for (const auto& c : cases) {
        for (const wchar_t* child : c.children)
            reg.DeleteValue(L"", Sub(c.parent) + L"\\" + child, HKEY_CURRENT_USER);
        if (c.parent != std::wstring(L"missing"))
            reg.DeleteValue(L"", Sub(c.parent), HKEY_CURRENT_USER);
        EXPECT_EQ(reg.EnumKeys(Sub(c.parent), HKEY_CURRENT_USER), c.expected)
            << testing::PrintToString(c.parent);
    }
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
}

// Nothing in the program exports or imports yet: the command lines for the registry editor are
// all there is to check. A quote in a name is refused before it could end an argument early.
TEST(RegCommandLines, QuoteTheirArgumentsAndRefuseQuotes) {
    EXPECT_EQ(Reg::ExportCommandLine(HKEY_CURRENT_USER, L"Software\\X\\", L"C:\\a b.reg"),
              L"regedit /e \"C:\\a b.reg\" \"HKEY_Current_User\\Software\\X\"");
    EXPECT_EQ(Reg::ExportCommandLine(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000005)), L"K", L"f"),
              L"regedit /e \"f\" \"\\K\"");
    EXPECT_EQ(Reg::ImportCommandLine(L"C:\\in.reg"), L"regedit /s \"C:\\in.reg\"");
    EXPECT_THROW((void)Reg::ExportCommandLine(HKEY_CURRENT_USER, L"K\" /s \"x", L"f"), err::Error);
    EXPECT_THROW((void)Reg::ExportCommandLine(HKEY_CURRENT_USER, L"K", L"f\" /s"), err::Error);
    EXPECT_THROW((void)Reg::ImportCommandLine(L"a\".reg"), err::Error);
}

} // namespace
