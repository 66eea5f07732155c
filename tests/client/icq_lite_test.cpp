// The client's registry data as the program reads and writes it, in the client's real keys.
#include "client/icq_lite.h"

#include "app/shared.h"
#include "errors/err_trace.h"
#include "support/app_paths_views.h"
#include "support/reg_tool.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;
using test::ScratchKey;

namespace {

class ClientDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        Shared().reg = &reg;
        icqlite::ResetExePathCache();
    }
    void TearDown() override {
        Shared().reg = nullptr;
        icqlite::ResetExePathCache();
    }

    Reg reg;
    ScratchKey owners{HKEY_CURRENT_USER, icqlite::kOwnersKey};
    ScratchKey machineOwners{HKEY_LOCAL_MACHINE, icqlite::kOwnersKey, RegView::View32};
    ScratchKey prefs{HKEY_LOCAL_MACHINE, icqlite::kDefaultPrefsKey, RegView::View32};
    ScratchKey appPaths32{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
    ScratchKey appPaths64{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View64};
};

void AddKey(HKEY root, const std::wstring& path, RegView view = RegView::Native) {
    platform::UniqueHKey h;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | Reg::ViewFlag(view),
                              nullptr, h.put(), nullptr),
              ERROR_SUCCESS);
}

} // namespace

TEST_F(ClientDataTest, UsersAreTheNumericSubkeysAtTheirPositions) {
    EXPECT_TRUE(icqlite::GetUsers().empty()) << "no NewOwners key";
    for (const wchar_t* name : {L"111", L"11a", L"222"})
        AddKey(HKEY_CURRENT_USER, std::wstring(icqlite::kOwnersKey) + L"\\" + name);
    auto users = icqlite::GetUsers();
    ASSERT_EQ(users.size(), 3u);
    EXPECT_EQ(users[0], L"111");
    EXPECT_EQ(users[1], L"");
    EXPECT_EQ(users[2], L"222");
}

TEST_F(ClientDataTest, LastUserIsADwordReadAsText) {
    EXPECT_EQ(icqlite::LastUser(), L"") << "LastOwner missing";
    EXPECT_EQ(icqlite::SetLastUser(L"123456"), ERROR_SUCCESS);
    EXPECT_EQ(icqlite::LastUser(), L"123456");
    DWORD type = 0;
    platform::UniqueHKey h;
    RegOpenKeyExW(HKEY_CURRENT_USER, icqlite::kOwnersKey, 0, KEY_QUERY_VALUE, h.put());
    RegQueryValueExW(h.get(), L"LastOwner", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    try {
        icqlite::SetLastUser(L"12a");
        ADD_FAILURE() << "a text that is no number was written";
    } catch (const err::Error& e) {
        EXPECT_EQ(e.record().number, err::ERR_TYPE_MISMATCH);
        EXPECT_NE(e.record().description.find(L"  Call Stack: basICQLite.LastUser(strUser='12a')"),
                  std::wstring::npos)
            << e.record().description;
    }
}

TEST_F(ClientDataTest, LastStatusComesFromTheClientsView) {
    EXPECT_EQ(icqlite::GetLastStatus(L""), 0) << "empty user";
    EXPECT_EQ(icqlite::GetLastStatus(L"555"), 0) << "missing value reads as Online";
    struct Case {
        const wchar_t* stored;
        int32_t expected;
    } cases[] = {{L"256", 257}, {L"257", 257}, {L"1", 1}, {L"32", 32}, {L"0", 0}};
    for (auto c : cases) {
        // Written by the stock reg tool into the 32-bit view, as the 32-bit client would.
        ASSERT_EQ(test::RunRegTool(std::wstring(L"add HKLM\\") + icqlite::UserKey(L"555") +
                                   L" /v LastStatus /t REG_DWORD /d " + c.stored + L" /f /reg:32"),
                  0);
        EXPECT_EQ(icqlite::GetLastStatus(L"555"), c.expected) << "stored " << c.stored;
    }
    reg.WriteValue(L"LastStatus", L"away", REG_SZ, icqlite::UserKey(L"556"), HKEY_LOCAL_MACHINE,
                   RegView::View32);
    try {
        icqlite::GetLastStatus(L"556");
        ADD_FAILURE() << "a text status was accepted";
    } catch (const err::Error& e) {
        EXPECT_EQ(e.record().number, err::ERR_TYPE_MISMATCH);
    }
}

TEST_F(ClientDataTest, MultiInstanceIsAnExactYes) {
    EXPECT_FALSE(icqlite::MultiInstanceEnable()) << "missing";
    struct Case {
        const wchar_t* stored;
        bool expected;
    } cases[] = {{L"Yes", true}, {L"yes", false}, {L"YES", false}, {L"True", false}, {L"", false}};
    for (auto c : cases) {
        reg.WriteValue(L"MultiInstance", c.stored, REG_SZ, icqlite::kDefaultPrefsKey, HKEY_LOCAL_MACHINE,
                       RegView::View32);
        EXPECT_EQ(icqlite::MultiInstanceEnable(), c.expected) << "stored '" << c.stored << "'";
    }
    icqlite::SetMultiInstanceEnable(false);
    std::string out;
    ASSERT_EQ(test::RunRegTool(L"query HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs /v MultiInstance /reg:32",
                               &out),
              0);
    EXPECT_NE(out.find("False"), std::string::npos) << out;
    icqlite::SetMultiInstanceEnable(true);
    ASSERT_EQ(test::RunRegTool(L"query HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs /v MultiInstance /reg:32",
                               &out),
              0);
    EXPECT_NE(out.find("Yes"), std::string::npos) << out;
}

TEST_F(ClientDataTest, BuildIdIsReadFromThe32BitView) {
    EXPECT_EQ(icqlite::GetBuildId(), L"");
    ASSERT_EQ(test::RunRegTool(
                  L"add HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs /v LiteBuildId /d 1211 /f /reg:32"),
              0);
    EXPECT_EQ(icqlite::GetBuildId(), L"1211");
}

TEST_F(ClientDataTest, InstalledMeansANonEmptyAppPathsEntry) {
    test::SeparateAppPathsViews separate;
    ASSERT_TRUE(test::SeparateAppPathsViews::Separate()) << "the two views share one App Paths key";
    EXPECT_FALSE(icqlite::IsInstalled()) << "no entry";
    reg.WriteValue(L"", L"", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
    EXPECT_FALSE(icqlite::IsInstalled()) << "empty entry";
    EXPECT_EQ(icqlite::ExePath(), L"");

    // Only in the 64-bit view: found there after the 32-bit view had nothing.
    reg.WriteValue(L"", L"C:\\64\\ICQLite.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View64);
    EXPECT_TRUE(
        reg.ReadValue(L"", icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32).AsText().empty());
    EXPECT_TRUE(icqlite::IsInstalled());
    EXPECT_EQ(icqlite::GetExePath(), L"C:\\64\\ICQLite.exe");

    // The 32-bit view wins when both have one.
    reg.WriteValue(L"", L"C:\\32\\ICQLite.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32);
    EXPECT_EQ(icqlite::GetExePath(), L"C:\\32\\ICQLite.exe");
}

TEST_F(ClientDataTest, ExePathKeepsTheFirstPathFoundButRetriesAnEmptyOne) {
    EXPECT_EQ(icqlite::ExePath(), L"");
    reg.WriteValue(L"", L"C:\\first.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, RegView::View32);
    EXPECT_EQ(icqlite::ExePath(), L"C:\\first.exe") << "an empty result was cached";
    reg.WriteValue(L"", L"C:\\second.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32);
    EXPECT_EQ(icqlite::ExePath(), L"C:\\first.exe");
    EXPECT_EQ(icqlite::GetExePath(), L"C:\\second.exe");
}
