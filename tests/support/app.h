// velmora.exe driven as a user would, from a clean start: the program's settings key holds only
// the language, the client's users and values are gone, and the stand-in is the installed client.
// Everything is removed again at the end and a program still running is ended.
#pragma once
#include "gui_driver/gui_driver.h"
#include "support/standin.h"
#include "support/support.h"

#include <optional>
#include <string>

namespace velmora::test {

class App {
public:
    explicit App(const wchar_t* language = L"English");
    ~App();

    // Starts velmora.exe and waits until its main window shows with its lists filled; nullptr
    // (and a test failure) when it does not come.
    HWND Start();
    HWND Main() const { return main_; }
    HWND Item(int id) const { return gui::Control(main_, id); }
    DWORD Pid() const { return process_.Id(); }
    ChildProcess& Process() { return process_; }
    // A shown top-level window of the program (by class), waited for.
    HWND Window(const wchar_t* className, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // The message box the program shows now or soon, and answering it.
    std::optional<gui::MessageBoxInfo>
    Message(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Closes the main window as its close box would and waits for the process; its exit code.
    int Close();

    // The program's settings value (as text; "" when missing) and writing one before the start.
    std::wstring Setting(const wchar_t* name) const;
    void SetSetting(const wchar_t* name, const std::wstring& value) const;

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
