#include "client/client_fixture.h"

#include "errors/err_test_support.h"
#include "errors/trap.h"

#include <sddl.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// A key whose DACL lets everybody read it and nobody write it, as a machine key looks to a user
// without elevation. The destructor opens it up again so that it can be deleted.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::wstring& path, RegView view) : root_(root), path_(path), view_(view) {
        platform::UniqueHKey key;
        EXPECT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | Reg::ViewFlag(view),
                                  nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(SetDacl(key.get(), L"D:P(A;;KR;;;WD)"), ERROR_SUCCESS) << "cannot make the key read-only";
    }
    ~ReadOnlyKey() {
        platform::UniqueHKey key;
        if (RegOpenKeyExW(root_, path_.c_str(), 0, WRITE_DAC | Reg::ViewFlag(view_), key.put()) ==
            ERROR_SUCCESS)
            SetDacl(key.get(), L"D:(A;;KA;;;WD)");
    }

private:
    static LSTATUS SetDacl(HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr))
            return static_cast<LSTATUS>(GetLastError());
        LSTATUS rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
        return rc;
    }
    HKEY root_;
    std::wstring path_;
    RegView view_;
};

} // namespace

using StarterTest = ClientTest;

TEST_F(StarterTest, GetStatusTextReadsTheUsersMessageWithoutDashes) {
    StoreClientValue(L"AwayStatusText", L"back at five", REG_SZ, L"123456");
    StoreClientValue(L"ChatStatusText", L"talk to me", REG_SZ, L"123456");
    // Were anything read for a status without message, it would be one of these: the key's default
    // value or a value named just "StatusText".
    StoreClientValue(L"", L"default value", REG_SZ, L"123456");
    StoreClientValue(L"StatusText", L"nameless message", REG_SZ, L"123456");
    struct Case {
        const wchar_t* number;
        int32_t status;
        const wchar_t* expected;
    } cases[] = {{L"123-456", 1, L"back at five"},
                 {L"12-34-56", 32, L"talk to me"},
                 {L"123456", 1, L"back at five"},
                 {L"123456", 2, L""} /* stored nowhere */,
                 {L"654321", 1, L""} /* another user */,
                 {L"123-456", 0, L""},
                 {L"123456", 257, L""},
                 {L"123456", 256, L""},
                 {L"123456", 3, L""},
                 {L"123456", -1, L""}};
    for (const auto& c : cases) {
        RegData got = starter_.GetStatusText(c.number, c.status);
        EXPECT_EQ(got.AsText(), c.expected) << Narrow(c.number) << " status " << c.status;
        EXPECT_EQ(got.IsEmpty(), *c.expected == 0) << Narrow(c.number) << " status " << c.status;
    }
}

// The launcher's writes are checked: a value it cannot write stops the start with a message that
// says which value, where, and why, and the client is not started.
TEST_F(StarterTest, UnwritableClientValueStopsTheStartWithAMessage) {
    struct Case {
        const char* name;
        HKEY root;
        std::wstring key;
        RegView view;
        const wchar_t* value;
        const wchar_t* shownKey;
    } cases[] = {
        {"owners key", HKEY_CURRENT_USER, icqlite::kOwnersKey, RegView::Native, L"LastOwner",
         L"HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners"},
        {"user's machine key", HKEY_LOCAL_MACHINE, icqlite::UserKey(L"4711"), RegView::View32, L"LastStatus",
         L"HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\NewOwners\\4711\\ICQLite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandinClient standin(L"unwritable");
        ReadOnlyKey readOnly(c.root, c.key, c.view);
        // Proof that the platform enforces the DACL here, before relying on it.
        ASSERT_NE(reg_.WriteValueChecked(L"probe", L"x", REG_SZ, c.key, c.root, c.view), ERROR_SUCCESS)
            << "the read-only key was written";
        starter_.SetUser(L"4711");
        starter_.SetStatus(1);
        starter_.SetStatusText(L"new message");
        CapturingPresenter shown;
        err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(),
                       [&] { starter_.StartICQ(StandinClient::ExePath(), true); });

        EXPECT_EQ(shown.numbers, std::vector<int32_t>{ERR_CLIENT_VALUE_NOT_WRITTEN});
        EXPECT_TRUE(shown.reports.empty()) << "a report instead of a message";
        ASSERT_EQ(shown.messages.size(), 1u);
        for (std::wstring part : {std::wstring(L"could not be saved"), std::wstring(c.value),
                                  std::wstring(c.shownKey), std::wstring(L"(5)")})
            EXPECT_NE(shown.messages[0].find(part), std::wstring::npos)
                << "'" << Narrow(part) << "' missing in the message: " << Narrow(shown.messages[0]);
        EXPECT_EQ(CountProcesses(L"standin_client.exe"), 0u) << "the client was started";
        EXPECT_FALSE(standin.Read().First(L"pid")) << standin.Read().Raw();
        EXPECT_TRUE(ClientValue(L"AwayStatusText", L"4711").IsEmpty())
            << "the message was written after the failure";
    }
}

TEST_F(StarterTest, UnstartableClientIsReportedWithItsCallsAndTheValuesStayWritten) {
    std::wstring dir = FreshTempDir(L"unstartable");
    WriteBytes(dir + L"\\not a program.exe", "plain text, no exe");
    struct Case {
        std::wstring path;
        int32_t number;
    } cases[] = {{dir + L"\\ICQLite.exe", err::ERR_FILE_NOT_FOUND},
                 {dir + L"\\no such folder\\ICQLite.exe", err::ERR_PATH_NOT_FOUND},
                 {dir + L"\\not a program.exe", err::ERR_INVALID_CALL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        userKeys_.Clear();
        machineKeys_.Clear();
        CapturingPresenter shown;
        starter_.SetUser(L"98765");
        starter_.SetStatus(1);
        starter_.SetStatusText(L"written first");
        err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] { starter_.StartICQ(c.path, true); });

        EXPECT_EQ(shown.numbers, std::vector<int32_t>{c.number});
        ASSERT_EQ(shown.reports.size(), 1u);
        const std::wstring& report = shown.reports[0];
        size_t shell = report.find(L"Call Stack: clsStarter.ShellTohWnd(");
        size_t start = report.find(L"Call Stack: clsStarter.StartICQ(");
        EXPECT_TRUE(shell != std::wstring::npos && start != std::wstring::npos && shell < start)
            << "ShellTohWnd's line, then StartICQ's: " << Narrow(report);
        for (std::wstring part : {c.path, std::wstring(L"appMode=7"), std::wstring(L"bolDirectStart=True")})
            EXPECT_NE(report.find(part), std::wstring::npos)
                << "'" << Narrow(part) << "' missing in: " << Narrow(report);

        EXPECT_EQ(icqlite::LastUser(), L"98765");
        EXPECT_EQ(ClientValue(L"LastStatus", L"98765").AsNumber(), 1);
        EXPECT_EQ(ClientValue(L"AwayStatusText", L"98765").AsText(), L"written first");
    }
}
