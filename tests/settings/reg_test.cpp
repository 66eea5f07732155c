// The registry wrapper and the settings store against Wine's real registry, in scratch keys that are deleted
// first. What was stored is read back with the system's own calls.
#include "settings/reg.h"
#include "settings/settings.h"

#include "errors/err_trace.h"
#include "support/support.h"

#include <gtest/gtest.h>
#include <array>
#include <optional>

using namespace velmora;

namespace {

// The bytes of UTF-16 text, cut or extended by a few bytes.
std::string Bytes(std::wstring_view text, int extra = 0) {
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    bytes.resize(bytes.size() + extra, '\0');
    return bytes;
}
std::string Typed(DWORD type, const std::string& bytes) {
    return std::to_string(type) + ":" + bytes;
}

// What a read gave: "-" empty, "'abc" a text, "#5" a number, "L[a][b]" a list.
std::wstring Shown(const RegData& d) {
    std::wstring shown(1, L"-'#L"[d.value.index()]);
    if (!d.IsList())
        return shown + d.AsText();
    for (const auto& item : d.AsList())
        shown += L"[" + item + L"]";
    return shown;
}

// A stored value as the system gives it, Typed; nullopt for no key, "key" for a key without the value.
std::optional<std::string> Stored(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0) {
    platform::UniqueHKey h;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, h.put()) != ERROR_SUCCESS)
        return std::nullopt;
    if (RegQueryValueExW(h.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return "key";
    std::string data(size, '\0');
    RegQueryValueExW(h.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    return Typed(type, data);
}

class RegTest : public ::testing::Test {
protected:
    std::wstring Sub(const std::wstring& name) const { return key.path() + L"\\" + name; }
    std::string name_ = testing::UnitTest::GetInstance()->current_test_info()->name();
    test::ScratchKey key{HKEY_CURRENT_USER,
                         L"Software\\VelmoraTest\\Reg\\" + std::wstring(name_.begin(), name_.end())};
    Reg reg;
};

TEST_F(RegTest, ReadsEveryStoredTypeAsTheProgramNeedsIt) {
    SetEnvironmentVariableW(L"VELMORA_TEST_DIR", L"C:\\x");
    const std::tuple<DWORD, std::string, std::wstring> cases[] = {
        // clang-format off
        {REG_SZ, Bytes(L"abc", 2), L"'abc"}, {REG_SZ, Bytes(L"abc"), L"'abc"}, {REG_SZ, Bytes(L"abc", 1), L"'abc"}, {REG_SZ, "", L"'"},
        {REG_SZ, Bytes(std::wstring_view(L"a\0b", 3), 2), std::wstring(L"'a\0b", 4)}, {REG_EXPAND_SZ, Bytes(L"%VELMORA_TEST_DIR%\\y", 2), L"'C:\\x\\y"},
        {REG_BINARY, "AB", L"'AB"}, {REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4), L"#-5"}, {REG_DWORD, "\x01", L"-"}, {REG_QWORD, std::string(8, '\1'), L"-"},
        {REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0\0b", 4)), L"L[a][][b]"}, {REG_MULTI_SZ, std::string(2, '\0'), L"L"},
        // clang-format on
    };
    platform::UniqueHKey h;
    RegCreateKeyW(HKEY_CURRENT_USER, key.path().c_str(), h.put());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [type, bytes, shown] = cases[i];
        std::wstring n = std::to_wstring(i);
        RegSetValueExW(h.get(), n.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       DWORD(bytes.size()));
        EXPECT_EQ(Shown(reg.ReadValue(n, key.path(), HKEY_CURRENT_USER)), shown) << "row " << i;
    }
}

// A conversion the caller got wrong raises an error and makes nothing; a type the wrapper does not
// write makes the key only.
TEST_F(RegTest, WritesWhatTheTypeAsksOrNothing) {
    const std::vector<std::wstring> ab{L"a", L"b"}, none;
    struct Case {
        const wchar_t* name;
        RegData value;
        DWORD type;
        std::optional<std::string> stored; // of that type; nullopt: no key
        int32_t error = 0;
    } cases[] = {
        // clang-format off
        {L"n", int32_t{-5}, REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4)}, {L"n", L" 123456 ", REG_DWORD, std::string("\x40\xE2\x01\x00", 4)},
        {L"n", L"-2147483648", REG_DWORD, std::string("\x00\x00\x00\x80", 4)}, {L"n", L"2147483648", REG_DWORD, std::nullopt, err::ERR_OVERFLOW},
        {L"n", L"12a", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH}, {L"n", L"", REG_DWORD, std::nullopt, err::ERR_TYPE_MISMATCH},
        {L"", L"default", REG_SZ, Bytes(L"default", 2)}, {L"e", L"%x%", REG_EXPAND_SZ, Bytes(L"%x%", 2)}, {L"b", L"AB", REG_BINARY, "AB"},
        {L"m", ab, REG_MULTI_SZ, Bytes(std::wstring_view(L"a\0b\0", 5))}, {L"m", none, REG_MULTI_SZ, std::string(4, '\0')},
        {L"m", L"not a list", REG_MULTI_SZ, std::nullopt, err::ERR_TYPE_MISMATCH}, {L"t", L"1", REG_NONE, "key"}, {L"t", L"1", REG_QWORD, "key"},
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        int32_t error = 0;
        try {
            reg.WriteValue(c.name, c.value, c.type, Sub(std::to_wstring(i)), HKEY_CURRENT_USER);
        } catch (const err::Error& e) {
            error = e.record().number;
        }
        EXPECT_EQ(error, c.error) << "row " << i;
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, Sub(std::to_wstring(i)), c.name),
                  c.stored && *c.stored != "key" ? Typed(c.type, *c.stored) : c.stored)
            << "row " << i;
    }
}

// On 64-bit Windows the 32-bit view of HKLM\Software is HKLM\Software\Wow6432Node.
TEST_F(RegTest, MachineValuesLandInTheRequestedView) {
    test::ScratchKey machine32(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest\\View", RegView::View32);
    reg.WriteValue(L"where", L"32", REG_SZ, machine32.path(), HKEY_LOCAL_MACHINE, RegView::View32);
    EXPECT_EQ(
        Stored(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\VelmoraTest\\View", L"where", KEY_WOW64_64KEY),
        Typed(REG_SZ, Bytes(L"32", 2)));
}

// Nothing in the program runs the registry editor yet: its command line quotes key and file, and
// refuses a quote that could end an argument early.
TEST(RegCommandLines, QuoteTheirArgumentsAndRefuseQuotes) {
    EXPECT_EQ(Reg::ExportCommandLine(HKEY_CURRENT_USER, L"Software\\X\\", L"C:\\a b.reg"),
              L"regedit /e \"C:\\a b.reg\" \"HKEY_Current_User\\Software\\X\"");
    EXPECT_THROW((void)Reg::ImportCommandLine(L"a\".reg"), err::Error);
}

using SettingsStore = RegTest;

// Booleans are stored as the texts "1" and "0"; what reads as neither keeps the default (the stray
// texts "-1", "yes" and "2x" are the start-up test's). Each load starts from the opposite of what is
// expected, so that a value left alone shows.
TEST_F(SettingsStore, LoadAndSaveSettings) {
    const wchar_t* names[] = {L"CloseAfterStart", L"DirectLogin", L"ExtStatus"};
    const DWORD types[] = {REG_NONE, REG_SZ, REG_DWORD, REG_MULTI_SZ}; // of each kind of RegData
    // The three as stored (nothing: missing) and as loaded.
    const std::pair<std::array<RegData, 3>, std::array<bool, 3>> cases[] = {
        {{RegData(), L"", RegData()}, {false, true, false}},
        {{L"1", L"False", L" 1 "}, {true, false, true}},
        {{L"0", L"?", L"True"}, {false, true, true}},
        {{-1, std::vector<std::wstring>{L"0"}, 0}, {true, true, false}}};
    Settings settings(reg);
    settings.SetRegKey(key.path());
    for (const auto& [in, out] : cases) {
        key.Clear();
        for (int i : {0, 1, 2})
            if (!in[i].IsEmpty())
                reg.WriteValue(names[i], in[i], types[in[i].value.index()], key.path(), HKEY_CURRENT_USER);
        settings.SetCloseAfter(!out[0]);
        settings.SetDirectLogin(!out[1]);
        settings.SetExtStatus(!out[2]);
        settings.LoadSettings();
        EXPECT_EQ((std::array{settings.CloseAfter(), settings.DirectLogin(), settings.ExtStatus()}), out);
    }
    NotSavedList notSaved;
    settings.SaveSettings(notSaved); // as the last row loaded them
    EXPECT_TRUE(notSaved.Empty());
    for (int i : {0, 1, 2})
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, key.path(), names[i]),
                  Typed(REG_SZ, Bytes(cases[3].second[i] ? L"1" : L"0", 2)));
}

} // namespace
