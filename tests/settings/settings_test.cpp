#include "settings/settings.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
// A key per test: CTest runs the tests of this file in parallel.
std::wstring ScratchPath() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return L"Software\\VelmoraTest\\Settings\\" + std::wstring(name.begin(), name.end());
}
} // namespace

TEST(SettingsStore, LoadSettings) {
    struct Stored {
        const wchar_t* name;
        RegData value;
        DWORD type = REG_SZ;
    };
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        bool closeAfter, directLogin, extStatus;
    };
    // clang-format off
    const Case cases[] = {
        {"no key at all", {}, false, true, false},
        {"0", {{L"DirectLogin", L"0"}}, false, false, false},
        {"-1", {{L"DirectLogin", L"-1"}}, false, true, false},
        {"1", {{L"CloseAfterStart", L"1"}, {L"ExtStatus", L"1"}}, true, true, true},
        {"True/False", {{L"DirectLogin", L"False"}, {L"ExtStatus", L"True"}}, false, false, true},
        {"empty text is the default", {{L"DirectLogin", L""}}, false, true, false},
        {"yes is the default", {{L"DirectLogin", L"yes"}, {L"ExtStatus", L"yes"}}, false, true, false},
        {"2x is the default", {{L"DirectLogin", L"2x"}, {L"CloseAfterStart", L"2x"}}, false, true, false},
        {"bad first value, good later ones", {{L"CloseAfterStart", L"?"}, {L"DirectLogin", L"0"}, {L"ExtStatus", L" 1 "}}, false, false, true},
        {"REG_DWORD", {{L"CloseAfterStart", int32_t{-1}, REG_DWORD}, {L"DirectLogin", int32_t{0}, REG_DWORD}}, true, false, false},
        {"a list is the default", {{L"DirectLogin", std::vector<std::wstring>{L"0"}, REG_MULTI_SZ}}, false, true, false},
    };
    // clang-format on
    Reg reg;
    for (const auto& c : cases) {
        test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath());
        for (const auto& s : c.stored)
            reg.WriteValue(s.name, s.value, s.type, scratch.path(), HKEY_CURRENT_USER);
        Settings settings(reg);
        settings.SetRegKey(scratch.path());
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

TEST(SettingsStore, ReadValueAndSave) {
    test::ScratchKey scratch(HKEY_CURRENT_USER, ScratchPath());
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(scratch.path());
    EXPECT_EQ(settings.ReadValue(L"Language"), L"") << "missing, no default";
    reg.WriteValue(L"Language", int32_t{-42}, REG_DWORD, scratch.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(settings.ReadValue(L"Language", L"d"), L"-42") << "REG_DWORD as its decimal text";

    settings.SetCloseAfter(true);
    settings.SetDirectLogin(false);
    settings.SetExtStatus(true);
    settings.SaveSettings();
    for (auto [name, text] :
         {std::pair{L"CloseAfterStart", L"1"}, {L"DirectLogin", L"0"}, {L"ExtStatus", L"1"}}) {
        wchar_t data[16] = {};
        DWORD type = 0, size = sizeof(data) - sizeof(wchar_t);
        RegGetValueW(HKEY_CURRENT_USER, scratch.path().c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << testing::PrintToString(std::wstring(name));
        EXPECT_STREQ(data, text) << testing::PrintToString(std::wstring(name));
    }
}
