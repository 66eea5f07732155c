// The registry wrapper and the settings store against Wine's real registry, in scratch keys that are deleted
// first. What it stored is read back with the system's own calls.
#include "settings/reg.h"
#include "settings/settings.h"

#include "errors/err_trace.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <optional>

using namespace velmora;
using test::Narrow;
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
    std::wstring list = L"list";
    for (const auto& item : d.IsList() ? d.AsList() : std::vector<std::wstring>())
        list += L" [" + item + L"]";
    return d.IsEmpty()    ? L"empty"
           : d.IsNumber() ? L"number " + d.AsText()
           : d.IsText()   ? L"text " + d.AsText()
                          : list;
}

// A stored value's bytes and type as the system gives them; nullopt for no value, "key" for a key
// without it.
std::optional<std::string> Stored(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0,
                                  DWORD* type = nullptr) {
    platform::UniqueHKey h;
    DWORD size = 0;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, h.put()) != ERROR_SUCCESS)
        return std::nullopt;
    if (RegQueryValueExW(h.get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return "key";
    std::string data(size, '\0');
    RegQueryValueExW(h.get(), name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    return data;
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
    const std::tuple<DWORD, std::string, std::wstring> cases[] = {
        // clang-format off
        {REG_SZ, Bytes(L"abc", 2), L"text abc"}, {REG_SZ, Bytes(L"abc"), L"text abc"},
        {REG_SZ, Bytes(L"abc", 1), L"text abc"}, {REG_SZ, "", L"text "},
        {REG_SZ, Bytes(std::wstring_view(L"a\0b", 3), 2), std::wstring(L"text a\0b", 8)},
        {REG_EXPAND_SZ, Bytes(L"%VELMORA_TEST_DIR%\\y", 2), L"text C:\\x\\y"},
        {REG_BINARY, "AB", L"text AB"}, {REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4), L"number -5"},
        {REG_DWORD, "\x01", L"empty"}, {REG_QWORD, std::string(8, '\1'), L"empty"},
        {REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0b\0", 5)), L"list [a] [b]"},
        {REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0\0b", 4)), L"list [a] [] [b]"},
        {REG_MULTI_SZ, std::string(2, '\0'), L"list"},
        // clang-format on
    };
    platform::UniqueHKey h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              h.put(), nullptr),
              ERROR_SUCCESS);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [type, bytes, shown] = cases[i];
        std::wstring name = L"v" + std::to_wstring(i);
        RegSetValueExW(h.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        EXPECT_EQ(Shown(reg.ReadValue(name, key.path(), HKEY_CURRENT_USER)), shown) << "row " << i;
    }
    EXPECT_EQ(Shown(reg.ReadValue(L"missing", key.path(), HKEY_CURRENT_USER)), L"empty");
    EXPECT_EQ(Shown(reg.ReadValue(L"v0", Sub(L"missing"), HKEY_CURRENT_USER)), L"empty") << "missing key";
    EXPECT_EQ(Shown(reg.ReadValue(L"v0", key.path())), L"empty") << "no root names no key";
}

// A conversion the caller got wrong raises an error and makes nothing; a type the wrapper does not
// write makes the key only.
TEST_F(RegTest, WritesWhatTheTypeAsksOrNothing) {
    const std::vector<std::wstring> ab{L"a", L"b"}, none;
    struct Case {
        const wchar_t* name;
        RegData value;
        DWORD type;
        std::optional<std::string> stored; // nullopt: no key
        int32_t error = 0;
    } cases[] = {
        // clang-format off
        {L"n", int32_t{-5}, REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4)},
        {L"n", L" 123456 ", REG_DWORD, std::string("\x40\xE2\x01\x00", 4)},
        {L"n", L"-2147483648", REG_DWORD, std::string("\x00\x00\x00\x80", 4)},
        {L"n", L"12a", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH}, {L"n", L"", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"n", L"2147483648", REG_DWORD, std::nullopt, err::ERR_OVERFLOW},
        {L"", L"default", REG_SZ, Bytes(L"default", 2)}, {L"e", L"%x%", REG_EXPAND_SZ, Bytes(L"%x%", 2)},
        {L"b", L"AB", REG_BINARY, "AB"}, {L"m", ab, REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0b\0", 5))},
        {L"m", none, REG_MULTI_SZ, std::string(4, '\0')}, {L"m", L"not a list", REG_MULTI_SZ, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"t", L"1", REG_NONE, "key"}, {L"t", L"1", REG_QWORD, "key"},
        // clang-format on
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
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, path, c.name, 0, &type), c.stored) << "row " << i;
        EXPECT_TRUE(!c.stored || *c.stored == "key" || type == c.type)
            << "row " << i << " stored type " << type;
    }
}

// One trailing backslash of a key path is ignored; deleting a value makes its key. Subkeys that are no
// numbers keep their place as "", so that positions match the enumeration.
TEST_F(RegTest, KeysAndSubkeys) {
    reg.WriteValue(L"v", L"1", REG_SZ, Sub(L"k\\"), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"v", Sub(L"k"), HKEY_CURRENT_USER).AsText(), L"1");
    reg.DeleteValue(L"v", Sub(L"k\\"), HKEY_CURRENT_USER);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Sub(L"k"), L"v"), "key");
    reg.DeleteValue(L"v", Sub(L"made"), HKEY_CURRENT_USER);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Sub(L"made"), L"v"), "key") << "DeleteValue did not make the key";
    reg.DeleteKey(Sub(L"made\\"), HKEY_CURRENT_USER);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Sub(L"made"), L"v"), std::nullopt);

    for (const wchar_t* child : {L"456", L"12x", L"123", L"x"}) // enumerated as 123, 12x, 456, x
        reg.DeleteValue(L"", Sub(L"owners\\") + child, HKEY_CURRENT_USER);
    EXPECT_EQ(reg.EnumKeys(Sub(L"owners"), HKEY_CURRENT_USER),
              (std::vector<std::wstring>{L"123", L"", L"456"}));
    EXPECT_EQ(reg.EnumKeys(Sub(L"missing"), HKEY_CURRENT_USER), std::vector<std::wstring>());
}

// On 64-bit Windows the 32-bit view of HKLM\Software is HKLM\Software\Wow6432Node.
TEST_F(RegTest, MachineValuesLandInTheRequestedView) {
    ScratchKey machine32(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest\\View", RegView::View32);
    ScratchKey machine64(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest\\View", RegView::View64);
    reg.WriteValue(L"where", L"32", REG_SZ, machine32.path(), HKEY_LOCAL_MACHINE, RegView::View32);
    EXPECT_EQ(
        Stored(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\VelmoraTest\\View", L"where", KEY_WOW64_64KEY),
        Bytes(L"32", 2));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, machine64.path(), L"where", KEY_WOW64_64KEY), std::nullopt)
        << "the value is in the 64-bit view too";
}

// Nothing in the program exports or imports yet: the command lines for the registry editor are
// all there is to check. A quote in a name is refused before it could end an argument early.
TEST(RegCommandLines, QuoteTheirArgumentsAndRefuseQuotes) {
    EXPECT_EQ(Reg::ExportCommandLine(HKEY_CURRENT_USER, L"Software\\X\\", L"C:\\a b.reg"),
              L"regedit /e \"C:\\a b.reg\" \"HKEY_Current_User\\Software\\X\"");
    EXPECT_EQ(Reg::ImportCommandLine(L"C:\\in.reg"), L"regedit /s \"C:\\in.reg\"");
    EXPECT_THROW((void)Reg::ExportCommandLine(HKEY_CURRENT_USER, L"K\" /s \"x", L"f"), err::Error);
    EXPECT_THROW((void)Reg::ExportCommandLine(HKEY_CURRENT_USER, L"K", L"f\" /s"), err::Error);
    EXPECT_THROW((void)Reg::ImportCommandLine(L"a\".reg"), err::Error);
}

using SettingsStore = RegTest;

// Booleans are stored as "1" and "0"; what reads as neither keeps the default (the stray texts "-1",
// "yes" and "2x" are the start-up test's). Each load starts from the opposite of what is expected,
// so that a value left alone shows.
TEST_F(SettingsStore, LoadSettings) {
    struct Case {
        const char* name;
        std::vector<std::tuple<const wchar_t*, RegData, DWORD>> stored;
        bool closeAfter, directLogin, extStatus;
    } cases[] = {
        // clang-format off
        {"no key at all", {}, false, true, false},
        {"0", {{L"DirectLogin", L"0", REG_SZ}}, false, false, false},
        {"1", {{L"CloseAfterStart", L"1", REG_SZ}, {L"ExtStatus", L"1", REG_SZ}}, true, true, true},
        {"True/False", {{L"DirectLogin", L"False", REG_SZ}, {L"ExtStatus", L"True", REG_SZ}}, false, false, true},
        {"empty text is the default", {{L"DirectLogin", L"", REG_SZ}}, false, true, false},
        {"bad first value, good later ones", {{L"CloseAfterStart", L"?", REG_SZ}, {L"DirectLogin", L"0", REG_SZ},
                                              {L"ExtStatus", L" 1 ", REG_SZ}}, false, false, true},
        {"REG_DWORD", {{L"CloseAfterStart", -1, REG_DWORD}, {L"DirectLogin", 0, REG_DWORD}}, true, false, false},
        {"a list is the default", {{L"DirectLogin", std::vector<std::wstring>{L"0"}, REG_MULTI_SZ}}, false, true, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        key.Clear();
        for (const auto& [name, value, type] : c.stored)
            reg.WriteValue(name, value, type, key.path(), HKEY_CURRENT_USER);
        Settings settings(reg);
        settings.SetRegKey(key.path());
        settings.SetCloseAfter(!c.closeAfter);
        settings.SetDirectLogin(!c.directLogin);
        settings.SetExtStatus(!c.extStatus);
        ASSERT_NO_THROW(settings.LoadSettings()) << c.name;
        EXPECT_EQ(std::tuple(settings.CloseAfter(), settings.DirectLogin(), settings.ExtStatus()),
                  std::tuple(c.closeAfter, c.directLogin, c.extStatus))
            << c.name << " (CloseAfter, DirectLogin, ExtStatus)";
    }
}

TEST_F(SettingsStore, ReadValueAndSave) {
    Settings settings(reg);
    settings.SetRegKey(key.path());
    EXPECT_EQ(settings.ReadValue(L"Language"), L"") << "missing, no default";
    reg.WriteValue(L"Language", int32_t{-42}, REG_DWORD, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(settings.ReadValue(L"Language", L"d"), L"-42") << "REG_DWORD as its decimal text";
    settings.SetCloseAfter(true);
    settings.SetDirectLogin(false);
    settings.SetExtStatus(true);
    settings.SaveSettings();
    for (auto [name, text] :
         {std::pair{L"CloseAfterStart", L"1"}, {L"DirectLogin", L"0"}, {L"ExtStatus", L"1"}}) {
        DWORD type = 0;
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, key.path(), name, 0, &type), Bytes(text, 2)) << Narrow(name);
        EXPECT_EQ(type, DWORD{REG_SZ}) << Narrow(name);
    }
}

} // namespace
