// The real program with stray values under its settings key: it must still start, and closing it
// must leave the three Booleans written back as "1"/"0".
#include "client/icq_lite.h"
#include "settings/reg.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

struct Stored {
    std::wstring name;
    RegData value;
    DWORD type = REG_SZ;
};

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid)
        search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

// The visible main window: titled "Velmora" and not a dialog (an error message box has the same
// caption but the dialog class).
HWND MainWindowOf(DWORD pid) {
    for (HWND hwnd : TopWindowsOf(pid))
        if (IsWindowVisible(hwnd) && TitleOf(hwnd) == L"Velmora" && ClassOf(hwnd) != L"#32770")
            return hwnd;
    return nullptr;
}

// What the process shows instead, for the failure message.
std::string Describe(DWORD pid) {
    std::wstring all;
    for (HWND hwnd : TopWindowsOf(pid))
        all += L"[" + ClassOf(hwnd) + L" \"" + TitleOf(hwnd) + L"\"" +
               (IsWindowVisible(hwnd) ? L"" : L" hidden") + L"] ";
    return testing::PrintToString(all);
}

} // namespace

TEST(SettingsEndToEnd, StrayBooleanTextsDoNotStopStartAndAreWrittenBack) {
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        const wchar_t* closeAfterStart;
        const wchar_t* directLogin;
        const wchar_t* extStatus;
    };
    const std::vector<Case> cases = {
        {"DirectLogin yes", {{L"DirectLogin", L"yes"}}, L"0", L"1", L"0"},
        {"ExtStatus 2x",
         {{L"CloseAfterStart", L"-1"}, {L"DirectLogin", L"0"}, {L"ExtStatus", L"2x"}},
         L"1",
         L"0",
         L"0"},
        {"DirectLogin as a list",
         {{L"DirectLogin", std::vector<std::wstring>{L"0"}, REG_MULTI_SZ}},
         L"0",
         L"1",
         L"0"},
    };
    Reg reg;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const auto& c : cases) {
        test::ScratchKey settingsKey(HKEY_CURRENT_USER, test::kSettingsKey);
        test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, icqlite::kClientView);
        // Any existing exe will do as the client: it is never started here.
        reg.WriteValue(L"", self, REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, icqlite::kClientView);
        for (const auto& s : c.stored)
            reg.WriteValue(s.name, s.value, s.type, test::kSettingsKey, HKEY_CURRENT_USER);

        auto app = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
        ASSERT_TRUE(app.Running()) << c.name;
        HWND main = nullptr;
        bool shown = test::WaitFor([&] { return (main = MainWindowOf(app.Id())) != nullptr; });
        ASSERT_TRUE(shown) << c.name << ": no main window; windows of the process: " << Describe(app.Id());

        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(app.Wait(std::chrono::seconds(10)), 0)
            << c.name << ": the process did not end after WM_CLOSE";

        auto text = [&](const wchar_t* name) {
            return reg.ReadValue(name, test::kSettingsKey, HKEY_CURRENT_USER).AsText();
        };
        EXPECT_EQ(text(L"CloseAfterStart"), c.closeAfterStart) << c.name;
        EXPECT_EQ(text(L"DirectLogin"), c.directLogin) << c.name;
        EXPECT_EQ(text(L"ExtStatus"), c.extStatus) << c.name;
    }
}
