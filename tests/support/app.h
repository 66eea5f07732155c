// velmora.exe driven as a user would, from a clean start: the program's settings key holds only
// the language, the client's users and values are gone, and the stand-in is the installed client.
// Everything is removed again at the end, after a program still running is ended.
#pragma once
#include "app/main_window_ids.h"
#include "support/standin.h"

#include <gtest/gtest.h>

namespace velmora::test {

class App {
public:
    explicit App(const wchar_t* language = L"English") {
        if (language)
            SetSetting(L"Language", language);
    }

    // Starts velmora.exe and waits until its main window shows with its lists filled; nullptr
    // (and a test failure) when it does not come.
    HWND Start() {
        process_ = ChildProcess::Start(BinDir() + L"\\velmora.exe");
        main_ = gui::WaitForTopWindow(Pid(), app::kMainWindowClass, app::kMainWindowTitle);
        EXPECT_NE(main_, nullptr) << "no main window";
        EXPECT_TRUE(!main_ || WaitFor([&] { return gui::ComboCount(Item(app::IDC_IMGCOMB_STATUS)) == 7; }))
            << "the status list was not filled";
        return main_;
    }
    HWND Main() const { return main_; }
    HWND Item(int id) const { return gui::Control(main_, id); }
    DWORD Pid() const { return process_.Id(); }
    ChildProcess& Process() { return process_; }
    // A shown top-level window of the program (by class), and its message box, waited for.
    HWND Window(const wchar_t* className,
                std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        return gui::WaitForTopWindow(Pid(), className, nullptr, timeout);
    }
    std::optional<gui::MessageBoxInfo>
    Message(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        return gui::WaitForMessageBox(Pid(), timeout);
    }
    // Closes the main window as its close box would and waits for the process; its exit code.
    int Close() {
        gui::Close(main_);
        return process_.Wait(std::chrono::seconds(10));
    }

    // The program's settings value (as text; "" when missing) and writing one before the start.
    std::wstring Setting(const wchar_t* name) const {
        return reg.ReadValue(name, kSettingsKey, HKEY_CURRENT_USER).AsText();
    }
    void SetSetting(const wchar_t* name, const std::wstring& value) const {
        ASSERT_EQ(reg.WriteValueChecked(name, value, REG_SZ, kSettingsKey, HKEY_CURRENT_USER), ERROR_SUCCESS);
    }

    Reg reg;

private:
    ScratchKey settings_{HKEY_CURRENT_USER, L"Software\\Ardentix\\Velmora"};
    ScratchKey owners_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    ScratchKey machine_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    ScratchKey store_{HKEY_CURRENT_USER,
                      L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Mirabilis"};
    StandinInstall install_;
    ChildProcess process_;
    HWND main_ = nullptr;
};

} // namespace velmora::test
