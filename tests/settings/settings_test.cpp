#include "settings/reg.h"
#include "settings/settings.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace velmora;

namespace {

// Each test has a key of its own: CTest runs the tests of this file in parallel.
std::wstring ScratchPath() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return L"Software\\VelmoraTest\\Settings\\" + std::wstring(name.begin(), name.end());
}

// One stored value: a text (REG_SZ), a number (REG_DWORD) or a list (REG_MULTI_SZ).
struct Stored {
    std::wstring name;
    RegData value;
    DWORD type = REG_SZ;
};

void Store(const Reg& reg, const std::vector<Stored>& values) {
    for (const auto& v : values)
        reg.WriteValue(v.name, v.value, v.type, ScratchPath(), HKEY_CURRENT_USER);
}

// The raw value as the registry holds it: its type and text.
struct Raw {
    DWORD type = REG_NONE;
    std::wstring text;
};
std::optional<Raw> ReadRaw(const std::wstring& name) {
    platform::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ScratchPath().c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[256] = {};
    DWORD type = 0, size = sizeof(buffer) - sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return Raw{type, buffer};
}

} // namespace

TEST(SettingsBoolean, ParsesNumbersAndWords) {
    struct Case {
        std::wstring text;
        std::optional<bool> expected;
    };
    const Case cases[] = {
        {L"0", false},
        {L"1", true},
        {L"-1", true},
        {L"+2", true},
        {L"00", false},
        {L"0.0", false},
        {L"0.5", true},
        {L"-0", false},
        {L"1,5", true},
        {L" 1 ", true},
        {L"\t0", false},
        {L"True", true},
        {L"False", false},
        {L"TRUE", true},
        {L"false", false},
        {L" true ", true},
        {L"", std::nullopt},
        {L" ", std::nullopt},
        {L"yes", std::nullopt},
        {L"2x", std::nullopt},
        {L"x2", std::nullopt},
        {L"-", std::nullopt},
        {L".", std::nullopt},
        {L"1.2.3", std::nullopt},
        {L"Truex", std::nullopt},
        {L"1 1", std::nullopt},
    };
    for (const auto& c : cases) {
        auto got = Settings::ParseBoolean(c.text);
        EXPECT_EQ(got, c.expected) << "text \"" << testing::PrintToString(c.text) << "\" gave "
                                   << (got ? (*got ? "true" : "false") : "nothing");
    }
}

TEST(SettingsStore, LoadSettingsFromStoredValues) {
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        bool closeAfter, directLogin, extStatus;
    };
    const std::vector<Case> cases = {
        {"no key at all", {}, false, true, false},
        {"DirectLogin 0", {{L"DirectLogin", L"0"}}, false, false, false},
        {"DirectLogin -1", {{L"DirectLogin", L"-1"}}, false, true, false},
        {"DirectLogin 1", {{L"DirectLogin", L"1"}}, false, true, false},
        {"DirectLogin True", {{L"DirectLogin", L"True"}}, false, true, false},
        {"DirectLogin False", {{L"DirectLogin", L"False"}}, false, false, false},
        {"DirectLogin empty", {{L"DirectLogin", L""}}, false, true, false},
        {"DirectLogin yes", {{L"DirectLogin", L"yes"}}, false, true, false},
        {"DirectLogin 2x", {{L"DirectLogin", L"2x"}}, false, true, false},
        {"all three on",
         {{L"CloseAfterStart", L"1"}, {L"DirectLogin", L"1"}, {L"ExtStatus", L"1"}},
         true,
         true,
         true},
        {"bad values read as their defaults",
         {{L"CloseAfterStart", L"yes"}, {L"DirectLogin", L"2x"}, {L"ExtStatus", L"on"}},
         false,
         true,
         false},
        {"a bad first value does not stop the others",
         {{L"CloseAfterStart", L"yes"}, {L"DirectLogin", L"0"}, {L"ExtStatus", L"1"}},
         false,
         false,
         true},
        {"REG_DWORD values",
         {{L"CloseAfterStart", int32_t{1}, REG_DWORD},
          {L"DirectLogin", int32_t{0}, REG_DWORD},
          {L"ExtStatus", int32_t{-1}, REG_DWORD}},
         true,
         false,
         true},
        {"a list reads as missing",
         {{L"DirectLogin", std::vector<std::wstring>{L"0"}, REG_MULTI_SZ}},
         false,
         true,
         false},
    };
    Reg reg;
    for (const auto& c : cases) {
        test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath());
        Store(reg, c.stored);
        Settings settings(reg);
        settings.SetRegKey(ScratchPath());
        // Start from the opposite of what is expected, so that a value left alone shows.
        settings.SetCloseAfter(!c.closeAfter);
        settings.SetDirectLogin(!c.directLogin);
        settings.SetExtStatus(!c.extStatus);
        ASSERT_NO_THROW(settings.LoadSettings()) << c.name;
        EXPECT_EQ(settings.CloseAfter(), c.closeAfter) << c.name << ": CloseAfter";
        EXPECT_EQ(settings.DirectLogin(), c.directLogin) << c.name << ": DirectLogin";
        EXPECT_EQ(settings.ExtStatus(), c.extStatus) << c.name << ": ExtStatus";
    }
}

TEST(SettingsStore, ReadValueGivesTextOrDefault) {
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        std::wstring defaultValue;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {"missing, no default", {}, L"", L""},
        {"missing, default", {}, L"English", L"English"},
        {"stored empty gives the default", {{L"Language", L""}}, L"English", L"English"},
        {"stored text unchanged", {{L"Language", L" Deutsch "}}, L"English", L" Deutsch "},
        {"REG_DWORD as decimal text", {{L"Language", int32_t{42}, REG_DWORD}}, L"", L"42"},
        {"negative REG_DWORD", {{L"Language", int32_t{-7}, REG_DWORD}}, L"", L"-7"},
        {"a list gives the default",
         {{L"Language", std::vector<std::wstring>{L"a", L"b"}, REG_MULTI_SZ}},
         L"d",
         L"d"},
    };
    Reg reg;
    for (const auto& c : cases) {
        test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath());
        Store(reg, c.stored);
        Settings settings(reg);
        settings.SetRegKey(ScratchPath());
        EXPECT_EQ(settings.ReadValue(L"Language", c.defaultValue), c.expected) << c.name;
    }
}

TEST(SettingsStore, SaveWritesOneOrZeroTexts) {
    struct Case {
        bool closeAfter, directLogin, extStatus;
    };
    const Case cases[] = {
        {false, false, false}, {true, false, true}, {false, true, false}, {true, true, true}};
    Reg reg;
    for (const auto& c : cases) {
        std::string name = "case " + std::to_string(c.closeAfter) + std::to_string(c.directLogin) +
                           std::to_string(c.extStatus);
        test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath()); // the key is missing: Save must create it
        Settings settings(reg);
        settings.SetRegKey(ScratchPath());
        settings.SetCloseAfter(c.closeAfter);
        settings.SetDirectLogin(c.directLogin);
        settings.SetExtStatus(c.extStatus);
        settings.SaveSettings();
        const std::pair<const wchar_t*, bool> expected[] = {
            {L"CloseAfterStart", c.closeAfter}, {L"DirectLogin", c.directLogin}, {L"ExtStatus", c.extStatus}};
        for (const auto& [value, on] : expected) {
            auto raw = ReadRaw(value);
            ASSERT_TRUE(raw) << name << ": " << testing::PrintToString(std::wstring(value)) << " not written";
            EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ)) << name;
            EXPECT_EQ(raw->text, on ? L"1" : L"0")
                << name << ": " << testing::PrintToString(std::wstring(value));
        }

        Settings reloaded(reg);
        reloaded.SetRegKey(ScratchPath());
        reloaded.LoadSettings();
        EXPECT_EQ(reloaded.CloseAfter(), c.closeAfter) << name << ": round trip";
        EXPECT_EQ(reloaded.DirectLogin(), c.directLogin) << name << ": round trip";
        EXPECT_EQ(reloaded.ExtStatus(), c.extStatus) << name << ": round trip";
    }
}

TEST(SettingsStore, WriteValueStoresTextAndCreatesTheKey) {
    test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath());
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(ScratchPath());
    settings.WriteValue(L"frmMain.Left", L"1234,5");
    auto raw = ReadRaw(L"frmMain.Left");
    ASSERT_TRUE(raw) << "the key or value was not created";
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->text, L"1234,5");
    EXPECT_EQ(settings.ReadValue(L"frmMain.Left"), L"1234,5");
}
