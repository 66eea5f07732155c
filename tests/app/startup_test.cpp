// Start-up and shutdown of the real velmora.exe: refused without the client, the main window with
// it, and what reaches the settings key on each road.
#include "gui_driver/gui_driver.h"

#include "client/icq_lite.h"
#include "platform/handles.h"
#include "settings/reg.h"
#include "support/standin.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <algorithm>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kNotInstalled[] =
    L"ICQ Lite is not installed on this computer. Please install ICQ Lite first";
// Written only by the orderly shutdown: the three Booleans when the settings are saved, the
// position as the main window closes.
const wchar_t* const kShutdownValues[] = {L"CloseAfterStart", L"DirectLogin", L"ExtStatus", L"frmMain.Left",
                                          L"frmMain.Top"};

using test::Narrow;

bool ValueExists(HKEY root, const std::wstring& key, const wchar_t* name, RegView view = RegView::Native) {
    return RegGetValueW(root, key.c_str(), name, RRF_RT_ANY | Reg::ViewFlag(view), nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

// The DLLs loaded in a running process, lower case.
std::vector<std::wstring> LoadedModules(DWORD processId) {
    std::vector<std::wstring> names;
    platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    MODULEENTRY32W entry{sizeof(entry)};
    for (BOOL ok = Module32FirstW(snapshot.get(), &entry); ok; ok = Module32NextW(snapshot.get(), &entry)) {
        std::wstring name = entry.szModule;
        CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
        names.push_back(name);
    }
    return names;
}

// Which App Paths entries count as an installed client is the client module's to say (and its
// tests'); here one entry of each kind shows what the program does with the answer.
struct Install {
    const char* name;
    std::wstring path; // the App Paths entry; "" for none
};

class Startup : public ::testing::Test {
protected:
    // A clean start: no settings but the language; the client's entry as given ("" for none).
    void Reset(const std::wstring& clientPath) {
        settings_.Clear();
        appPaths32_.Clear();
        // English whatever the machine's language: the message is compared word for word.
        ASSERT_EQ(
            reg_.WriteValueChecked(L"Language", L"English", REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER),
            ERROR_SUCCESS);
        if (!clientPath.empty())
            ASSERT_EQ(reg_.WriteValueChecked(L"", clientPath, REG_SZ, icqlite::kAppPathsKey,
                                             HKEY_LOCAL_MACHINE, RegView::View32),
                      ERROR_SUCCESS);
    }

    test::ChildProcess StartVelmora() { return test::ChildProcess::Start(test::BinDir() + L"\\velmora.exe"); }

    Reg reg_;
    // Deleted first and last: the program's settings and the client's entry.
    test::ScratchKey settings_{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    test::ScratchKey appPaths32_{HKEY_LOCAL_MACHINE, icqlite::kAppPathsKey, RegView::View32};
};

TEST_F(Startup, WithoutTheClientItSaysSoAndEnds) {
    const Install cases[] = {{"no entry", L""}};
    for (const Install& c : cases) {
        Reset(c.path);
        test::ChildProcess velmora = StartVelmora();
        ASSERT_TRUE(velmora.Running()) << c.name;

        auto box = gui::WaitForMessageBox(velmora.Id());
        ASSERT_TRUE(box) << c.name << ": no message box";
        EXPECT_EQ(box->text, kNotInstalled) << c.name << ": " << Narrow(box->text);
        EXPECT_EQ(box->caption, L"Velmora") << c.name << ": " << Narrow(box->caption);
        EXPECT_EQ(box->icon, gui::MessageIcon::Stop) << c.name << ": " << Narrow(gui::IconName(box->icon));
        EXPECT_EQ(box->buttonIds, std::vector<int>{IDOK})
            << c.name << ": " << box->buttonIds.size() << " buttons";
        // The box is all the program shows: no main window, nor any other.
        EXPECT_EQ(gui::FindTopWindow(velmora.Id(), L"VelmoraMain", nullptr), nullptr) << c.name;
        for (HWND hwnd : gui::TopWindows(velmora.Id()))
            EXPECT_TRUE(hwnd == box->hwnd || !IsWindowVisible(hwnd))
                << c.name << ": also shown: " << Narrow(gui::ClassName(hwnd)) << " \""
                << Narrow(gui::Text(hwnd)) << "\"";

        ASSERT_TRUE(gui::AnswerMessageBox(box->hwnd, IDOK)) << c.name;
        EXPECT_EQ(velmora.Wait(10s), 0) << c.name << ": the process did not end after OK";
        for (const wchar_t* value : kShutdownValues)
            EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, test::kSettingsKey, value))
                << c.name << ": " << Narrow(value) << " was written";
    }
}

// Stray Boolean texts read as their defaults: they neither stop the start nor survive the shutdown.
TEST_F(Startup, WithTheClientTheMainWindowOpensAndClosingItSavesTheSettings) {
    const std::pair<const wchar_t*, const wchar_t*> booleans[] = {
        {L"CloseAfterStart", L"-1"}, {L"DirectLogin", L"yes"}, {L"ExtStatus", L"2x"}};
    const wchar_t* const saved[] = {L"1", L"1", L"0"};
    const Install cases[] = {{"path in the 32-bit view", test::StandinClient::ExePath()}};
    for (const Install& c : cases) {
        Reset(c.path);
        for (const auto& [name, text] : booleans)
            reg_.WriteValue(name, text, REG_SZ, test::kSettingsKey, HKEY_CURRENT_USER);
        auto stored = [&](const wchar_t* name) {
            return reg_.ReadValue(name, test::kSettingsKey, HKEY_CURRENT_USER).AsText();
        };
        test::ChildProcess velmora = StartVelmora();
        ASSERT_TRUE(velmora.Running()) << c.name;

        HWND main = gui::WaitForTopWindow(velmora.Id(), L"VelmoraMain", L"Velmora");
        ASSERT_NE(main, nullptr) << c.name << ": no main window";
        EXPECT_FALSE(gui::FindMessageBox(velmora.Id())) << c.name << ": a message box came too";
        // The shell and automation DLLs serve only the error report. (Not ole32: Wine's own
        // window code loads it into every GUI process.)
        std::vector<std::wstring> modules = LoadedModules(velmora.Id());
        EXPECT_NE(std::find(modules.begin(), modules.end(), L"user32.dll"), modules.end())
            << c.name << ": user32.dll not among " << modules.size() << " modules";
        for (const wchar_t* dll : {L"shell32.dll", L"oleaut32.dll"})
            EXPECT_EQ(std::find(modules.begin(), modules.end(), dll), modules.end())
                << c.name << ": " << Narrow(dll) << " loaded with the main window";
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, test::kSettingsKey, L"frmMain.Left")) << c.name;
        for (const auto& [name, text] : booleans)
            EXPECT_EQ(stored(name), text)
                << c.name << ": " << Narrow(name) << " written before the window closed";

        gui::Close(main);
        EXPECT_EQ(velmora.Wait(10s), 0) << c.name << ": the process did not end cleanly after WM_CLOSE";
        // Only the orderly shutdown writes these: proof that it ran to its end.
        for (const wchar_t* value : {L"frmMain.Left", L"frmMain.Top"})
            EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, test::kSettingsKey, value))
                << c.name << ": " << Narrow(value) << " not written";
        for (size_t i = 0; i < std::size(booleans); ++i)
            EXPECT_EQ(stored(booleans[i].first), saved[i]) << c.name << ": " << Narrow(booleans[i].first);
    }
}

} // namespace
} // namespace velmora
