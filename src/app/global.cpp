#include "app/global.h"

#include "app/error_presenter.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/shared.h"
#include "app/start_action.h"
#include "client/icq_lite.h"
#include "errors/show_error_window.h"
#include "ui/window.h"
#include "errors/trap.h"
#include "language/language.h"
#include "language/translate.h"
#include "platform/jump_list.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "textfiles/file.h"

#include <windows.h>
#include <memory>
#include <vector>

namespace velmora {

SharedObjects& Shared() {
    static SharedObjects objects;
    return objects;
}

namespace app {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Ardentix\\Velmora\\Settings";

// Owners of the shared objects; Shared() hands out plain pointers to them.
struct Owners {
    std::unique_ptr<File> file;
    std::unique_ptr<Reg> reg;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Language> language;
};
Owners g_owners;

void Publish() {
    Shared() = SharedObjects{g_owners.file.get(), g_owners.reg.get(), g_owners.settings.get(),
                             g_owners.language.get()};
    SetCurrentLanguage(g_owners.language.get());
}

// What the error report window shows as the client's build: a failing lookup must not cost the
// user the report itself, and after shutdown there is nothing left to ask.
std::wstring ClientBuildId() {
    if (!Shared().reg)
        return {};
    return err::IgnoreErrors([] { return icqlite::GetBuildId(); }, std::wstring());
}

} // namespace

int Main(const command_line::Parsed& commandLine) {
    return err::Trap(L"basGlobal.Main", err::NoArgs(), [&] {
        g_owners.file = std::make_unique<File>();
        Publish();
        g_owners.reg = std::make_unique<Reg>();
        Publish();
        g_owners.settings = std::make_unique<Settings>(*g_owners.reg);
        g_owners.settings->SetRegKey(kSettingsKey);
        Publish();
        g_owners.settings->LoadSettings();
        g_owners.language = std::make_unique<Language>(*g_owners.settings, *g_owners.file);
        Publish();

        using command_line::Kind;
        switch (commandLine.kind) {
        case Kind::Help:
            ui::ShowMessage(nullptr, command_line::UsageText(), MB_OK | MB_ICONINFORMATION);
            return 0;
        case Kind::Wrong:
            ui::ShowMessage(nullptr, command_line::WrongText(commandLine), MB_OK | MB_ICONEXCLAMATION);
            return 2;
        case Kind::Start:
            return StartFromCommandLine(commandLine.request);
        case Kind::None:
            break;
        }
        if (icqlite::IsInstalled()) {
            MainWindow::Show();
            return 0;
        }
        std::wstring text = g_owners.language->TranslateText(
            L"ICQ Lite is not installed on this computer. Please install ICQ Lite first");
        ui::ShowMessage(nullptr, text, MB_OK | MB_ICONSTOP);
        return 0;
    });
}

void Dispose(NotSavedList& notSaved) {
    err::Trap(L"basGlobal.Dispose", err::NoArgs(), [&] {
        // Close every other window of the program that is still open; the main window, whose
        // unload called this, goes right after.
        for (ui::Window* window : ui::OpenWindows())
            if (window != MainWindow::Find())
                window->End();
        // The position (written as the main window closed) and the settings: what could not be
        // saved is told once, by the unload handler.
        g_owners.settings->SaveSettings(notSaved);
        notSaved.RaiseIfAny();
        g_owners.settings.reset();
        Publish();
        g_owners.reg.reset();
        Publish();
        g_owners.language.reset();
        Publish();
        g_owners.file.reset();
        Publish();
    });
}

int Run(std::wstring_view line) {
    command_line::Parsed commandLine = command_line::Parse(line);
    // One window per session; a start from the command line may run beside it.
    if (commandLine.kind == command_line::Kind::None && HandOverToRunningInstance())
        return 0;
    // Before the first window: the taskbar files the program's windows, and its jump list, under it.
    platform::SetProcessAppId();
    // Reports of errors caught in event handlers go to the error report window.
    err::SetReportPresenter(&AppPresenter());
    err::SetBuildIdSource(ClientBuildId);
    int exitCode = 0;
    try {
        exitCode = Main(commandLine);
    } catch (const err::Error& e) {
        // Nothing above Main catches its errors: show the report and end.
        ui::ShowMessage(nullptr, e.record().description, MB_OK);
        return 1;
    }
    // The program goes on while a window of it is open: the main window, or the report of a start
    // from the command line that failed.
    ui::EndWithTheLastWindow();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (ui::PreTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return exitCode;
}

} // namespace app
} // namespace velmora
