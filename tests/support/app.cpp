#include "support/app.h"

#include "app/main_window_ids.h"

#include <gtest/gtest.h>

namespace velmora::test {

App::App(const wchar_t* language) {
    if (language)
        SetSetting(L"Language", language);
}

App::~App() {
    if (process_.Running())
        TerminateProcess(process_.Handle(), 1);
}

HWND App::Start() {
    process_ = ChildProcess::Start(BinDir() + L"\\velmora.exe");
    main_ = gui::WaitForTopWindow(Pid(), app::kMainWindowClass, app::kMainWindowTitle);
    EXPECT_NE(main_, nullptr) << "no main window";
    if (main_) {
        EXPECT_TRUE(WaitFor([&] { return gui::ComboCount(Item(app::IDC_IMGCOMB_STATUS)) == 7; }))
            << "the status list was not filled";
    }
    return main_;
}

HWND App::Window(const wchar_t* className, std::chrono::milliseconds timeout) const {
    return gui::WaitForTopWindow(Pid(), className, nullptr, timeout);
}

std::optional<gui::MessageBoxInfo> App::Message(std::chrono::milliseconds timeout) const {
    return gui::WaitForMessageBox(Pid(), timeout);
}

int App::Close() {
    gui::Close(main_);
    return process_.Wait(std::chrono::seconds(10));
}

std::wstring App::Setting(const wchar_t* name) const {
    return reg.ReadValue(name, kSettingsKey, HKEY_CURRENT_USER).AsText();
}

void App::SetSetting(const wchar_t* name, const std::wstring& value) const {
    ASSERT_EQ(reg.WriteValueChecked(name, value, REG_SZ, kSettingsKey, HKEY_CURRENT_USER), ERROR_SUCCESS);
}

} // namespace velmora::test
