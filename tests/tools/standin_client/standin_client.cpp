// Plays the outside messenger client for the end-to-end tests. It is started with no arguments,
// exactly as the real client would be, so everything it needs comes from the environment the test
// sets before it starts velmora.exe:
//
//   VELMORA_STANDIN_RECORD=<file>        where it records (required: without it, it exits at once)
//   VELMORA_STANDIN_WINDOW_DELAY_MS=<n>  create the login window only after n ms (default 0)
//   VELMORA_STANDIN_NO_WINDOW=1          never create a window
//   VELMORA_STANDIN_LIFETIME_MS=<n>      exit by itself after n ms (default 30000)
//   VELMORA_STANDIN_EXIT_CODE=<n>        the exit code when it exits by itself (default 0)
//   VELMORA_STANDIN_WINDOW_KIND=<kind>   "dialog" (default): a dialog with a default "Login" button;
//                                        "button": a plain window with a default push button child;
//                                        "keys": a plain window without buttons that logs in on Enter
//
// What it records, in this order (see tests/tools/common/record_log.h for the line format):
//   pid, commandline, ShowWindow (STARTUPINFO.wShowWindow, "<missing>" without STARTF_USESHOWWINDOW),
//   LastOwner and its type, then under that user's machine key (32-bit view, as the 32-bit client
//   reads it) LastStatus and the five status messages, each with its type when it exists;
//   when the window is shown: window, iconic, active, foreground;
//   later, as they happen: activated (the window became active), keydown (any key message that
//   reached this process), enter (one login: the default button pressed or Enter), exit.
#include "common/record_log.h"
#include "standin_resource.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using velmora::tools::RecordLog;

RecordLog* g_log = nullptr;
HWND g_window = nullptr;
int g_showCommand = SW_SHOWDEFAULT;
std::wstring g_kind;
HINSTANCE g_instance = nullptr;
bool g_closing = false; // after the exit record nothing more is recorded

constexpr wchar_t kPlainClass[] = L"VelmoraStandinLogin";
constexpr wchar_t kTitle[] = L"ICQ Lite Login";
constexpr int kLoginButtonId = 1; // IDOK, so that a dialog-style Enter lands on it too

// A registry value as the client would see it: numbers in decimal, texts without their NULs.
struct ValueSeen {
    bool exists = false;
    DWORD type = REG_NONE;
    std::wstring text;
};

ValueSeen ReadValue(HKEY root, const std::wstring& keyPath, const wchar_t* name, REGSAM view) {
    ValueSeen seen;
    velmora::platform::UniqueHKey key;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS)
        return seen;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &seen.type, nullptr, &size) != ERROR_SUCCESS)
        return seen;
    std::vector<BYTE> data(size + sizeof(wchar_t), 0);
    if (RegQueryValueExW(key.get(), name, nullptr, &seen.type, data.data(), &size) != ERROR_SUCCESS)
        return seen;
    seen.exists = true;
    if (seen.type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, data.data(), sizeof(number));
        seen.text = std::to_wstring(number);
    } else if (seen.type == REG_SZ || seen.type == REG_EXPAND_SZ) {
        seen.text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!seen.text.empty() && seen.text.back() == L'\0')
            seen.text.pop_back();
    } else {
        seen.text = L"<" + std::to_wstring(size) + L" bytes>"; // the type is recorded beside it
    }
    return seen;
}

void RecordValue(const std::wstring& name, const ValueSeen& seen) {
    g_log->Write(name, seen.exists ? seen.text : velmora::tools::kMissing);
    if (seen.exists)
        g_log->Write(name + L".type", seen.type);
}

void RecordClientValues() {
    const std::wstring owners = L"Software\\Mirabilis\\ICQ\\NewOwners";
    ValueSeen owner = ReadValue(HKEY_CURRENT_USER, owners, L"LastOwner", 0);
    RecordValue(L"LastOwner", owner);
    const wchar_t* names[] = {L"LastStatus",   L"AwayStatusText", L"DNDStatusText",
                              L"NAStatusText", L"BusyStatusText", L"ChatStatusText"};
    for (const wchar_t* name : names) {
        ValueSeen seen;
        if (owner.exists && !owner.text.empty())
            seen = ReadValue(HKEY_LOCAL_MACHINE, owners + L"\\" + owner.text + L"\\ICQLite", name,
                             KEY_WOW64_32KEY);
        RecordValue(name, seen);
    }
}

void RecordStartupInfo() {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    GetStartupInfoW(&si);
    if (si.dwFlags & STARTF_USESHOWWINDOW) {
        g_showCommand = si.wShowWindow;
        g_log->Write(L"ShowWindow", si.wShowWindow);
    } else {
        g_log->Write(L"ShowWindow", velmora::tools::kMissing);
    }
}

void Quit(const wchar_t* reason, UINT exitCode = 0) {
    if (g_closing)
        return;
    g_closing = true;
    g_log->Write(L"exit", reason);
    g_log->WriteTime(L"exit.ms");
    if (g_window)
        DestroyWindow(g_window);
    g_window = nullptr;
    PostQuitMessage(static_cast<int>(exitCode));
}

void RecordActivation(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE && !g_closing)
        g_log->WriteTime(L"activated");
}

INT_PTR CALLBACK LoginDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // FALSE: no default focus. Setting the focus in a window activates it, and the point of
        // the record is to show whether the launcher activated it.
        return FALSE;
    case WM_ACTIVATE:
        RecordActivation(wParam);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            g_log->WriteTime(L"enter");
        else if (LOWORD(wParam) == IDCANCEL)
            g_log->WriteTime(L"cancel");
        return TRUE;
    case WM_CLOSE:
        Quit(L"close");
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK PlainLoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        RecordActivation(wParam);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kLoginButtonId && HIWORD(wParam) == BN_CLICKED)
            g_log->WriteTime(L"enter");
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && g_kind == L"keys")
            g_log->WriteTime(L"enter");
        return 0;
    case WM_CHAR:
        g_log->Write(L"char", static_cast<long long>(wParam));
        return 0;
    case WM_CLOSE:
        Quit(L"close");
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreatePlainLogin() {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = PlainLoginProc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPlainClass;
    RegisterClassExW(&wc);
    HWND hwnd =
        CreateWindowExW(0, kPlainClass, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                        CW_USEDEFAULT, CW_USEDEFAULT, 320, 180, nullptr, nullptr, g_instance, nullptr);
    if (hwnd && g_kind == L"button")
        CreateWindowExW(0, L"BUTTON", L"Login", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 200,
                        100, 90, 26, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLoginButtonId)),
                        g_instance, nullptr);
    return hwnd;
}

void ShowLoginWindow() {
    g_window = g_kind == L"dialog" ? CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_STANDIN_LOGIN),
                                                        nullptr, LoginDialogProc, 0)
                                   : CreatePlainLogin();
    if (!g_window) {
        g_log->Write(L"window", L"<failed " + std::to_wstring(GetLastError()) + L">");
        return;
    }
    ShowWindow(g_window, g_showCommand);
    g_log->WriteTime(L"window");
    g_log->Write(L"iconic", IsIconic(g_window) ? 1 : 0);
    g_log->Write(L"active", GetActiveWindow() == g_window ? 1 : 0);
    g_log->Write(L"foreground", GetForegroundWindow() == g_window ? 1 : 0);
}

void CALLBACK WindowDelayElapsed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ShowLoginWindow();
}

void CALLBACK LifetimeElapsed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Quit(L"lifetime", velmora::tools::EnvironmentNumber(L"VELMORA_STANDIN_EXIT_CODE", 0));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace velmora::tools;
    RecordLog log(EnvironmentText(L"VELMORA_STANDIN_RECORD"));
    if (!log.IsOpen())
        return 2;
    g_log = &log;
    g_instance = instance;
    g_kind = EnvironmentText(L"VELMORA_STANDIN_WINDOW_KIND");
    if (g_kind != L"button" && g_kind != L"keys")
        g_kind = L"dialog";

    log.Write(L"pid", GetCurrentProcessId());
    // With the id, the creation time names this process for good: ids are handed out again.
    FILETIME created{}, unused{};
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    log.Write(L"created",
              static_cast<long long>((static_cast<unsigned long long>(created.dwHighDateTime) << 32) |
                                     created.dwLowDateTime));
    log.Write(L"commandline", GetCommandLineW());
    RecordStartupInfo();
    RecordClientValues();
    log.WriteTime(L"recorded");

    SetTimer(nullptr, 0, EnvironmentNumber(L"VELMORA_STANDIN_LIFETIME_MS", 30000), LifetimeElapsed);
    if (EnvironmentText(L"VELMORA_STANDIN_NO_WINDOW") != L"1") {
        DWORD delay = EnvironmentNumber(L"VELMORA_STANDIN_WINDOW_DELAY_MS", 0);
        if (delay == 0)
            ShowLoginWindow();
        else
            SetTimer(nullptr, 0, delay, WindowDelayElapsed);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            log.Write(L"keydown", static_cast<long long>(msg.wParam));
        if (g_window && g_kind == L"dialog" && IsDialogMessageW(g_window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
