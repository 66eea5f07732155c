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

// Top-level windows of a process as "class|title" (hidden ones marked), and the visible main
// window: titled "Velmora" but not a dialog, which an error message box would be.
std::vector<std::pair<HWND, std::wstring>> TopWindowsOf(DWORD pid) {
    std::pair<DWORD, std::vector<std::pair<HWND, std::wstring>>> search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<decltype(search)*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t cls[64] = {}, title[64] = {};
            GetClassNameW(hwnd, cls, 64);
            GetWindowTextW(hwnd, title, 64);
            if (owner == s->first)
                s->second.emplace_back(hwnd, std::wstring(cls) + L"|" + title +
                                                 (IsWindowVisible(hwnd) ? L"" : L" (hidden)"));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND MainWindowOf(DWORD pid) {
    for (const auto& [hwnd, name] : TopWindowsOf(pid))
        if (name.ends_with(L"|Velmora") && !name.starts_with(L"#32770|"))
            return hwnd;
    return nullptr;
}

} // namespace

TEST(SettingsEndToEnd, StrayBooleanTextsDoNotStopStartAndAreWrittenBack) {
    struct Case {
        const char* name;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> stored; // REG_SZ texts
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
    };
    Reg reg;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const auto& c : cases) {
        test::ScratchKey settingsKey(HKEY_CURRENT_USER, test::kSettingsKey);
        test::ScratchKey appPaths(HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, icqlite::kClientView);
        // Any existing exe will do as the client: it is never started here.
        reg.WriteValue(L"", self, REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE, icqlite::kClientView);
        for (const auto& [name, text] : c.stored)
            reg.WriteValue(name, text, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);

        auto app = test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe");
        ASSERT_TRUE(app.Running()) << c.name;
        HWND main = nullptr;
        bool shown = test::WaitFor([&] { return (main = MainWindowOf(app.Id())) != nullptr; });
        ASSERT_TRUE(shown) << c.name << ": no main window; the process has "
                           << testing::PrintToString(TopWindowsOf(app.Id()));

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
