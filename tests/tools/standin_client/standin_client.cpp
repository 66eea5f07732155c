// Plays the messenger client in the tests. Started with no arguments, as the real client is, it
// takes everything from the environment the test sets before the start:
//   VELMORA_STANDIN_RECORD=<file>        where it records (required: without it, it exits at once)
//   VELMORA_STANDIN_WINDOW_DELAY_MS=<n>  create the login window only after n ms (default 0)
//   VELMORA_STANDIN_NO_WINDOW=1          never create a window
//   VELMORA_STANDIN_LIFETIME_MS=<n>      exit by itself after n ms (default 30000) ...
//   VELMORA_STANDIN_EXIT_CODE=<n>        ... with that exit code (default 0)
//   VELMORA_STANDIN_WINDOW_KIND=<kind>   "dialog" (default, with a default "Login" button), "button"
//                                        (a plain window with a default push button) or "keys" (a
//                                        plain window that logs in on Enter)
// It records (format: common/record_log.h) pid, created, commandline, ShowWindow ("<missing>"
// without STARTF_USESHOWWINDOW), LastOwner and, under that user's key in the 32-bit view as the
// client reads it, LastStatus and the five messages, each with its type; recorded; with the window:
// window, iconic, active, foreground; then as they happen: activated, keydown and char (key
// messages that reached it), enter (one login), exit.
#include "common/record_log.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace velmora::tools;

RecordLog g_log(L"VELMORA_STANDIN_RECORD");
HWND g_window = nullptr;
int g_showCommand;
std::wstring g_kind;
bool g_closing = false; // after the exit record nothing more is recorded

constexpr int kLoginButtonId = IDOK; // so that a dialog-style Enter lands on it too

// Records a registry value as the client sees it, and its type: numbers in decimal, texts up to
// their first NUL, anything else by its size. Returns what was recorded.
std::wstring RecordValue(HKEY root, const std::wstring& keyPath, const wchar_t* name, REGSAM view) {
    velmora::platform::UniqueHKey key;
    DWORD type = REG_NONE, size = 0;
    bool exists =
        RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) == ERROR_SUCCESS &&
        RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    std::vector<BYTE> data(size + sizeof(wchar_t), 0);
    if (!exists || RegQueryValueExW(key.get(), name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        g_log.Write(name, kMissing);
        return {};
    }
    std::wstring seen = L"<" + std::to_wstring(size) + L" bytes>";
    DWORD number = 0;
    memcpy(&number, data.data(), std::min<size_t>(size, sizeof(number)));
    if (type == REG_DWORD && size == sizeof(number))
        seen = std::to_wstring(number);
    else if (type == REG_SZ || type == REG_EXPAND_SZ)
        seen = reinterpret_cast<const wchar_t*>(data.data());
    g_log.Write(name, seen);
    g_log.Write(std::wstring(name) + L".type", type);
    return seen;
}

void RecordClientValues() {
    const std::wstring owners = L"Software\\Mirabilis\\ICQ\\NewOwners";
    std::wstring owner = RecordValue(HKEY_CURRENT_USER, owners, L"LastOwner", 0);
    for (const wchar_t* name : {L"LastStatus", L"AwayStatusText", L"DNDStatusText", L"NAStatusText",
                                L"BusyStatusText", L"ChatStatusText"})
        if (owner.empty())
            g_log.Write(name, kMissing);
        else
            RecordValue(HKEY_LOCAL_MACHINE, owners + L"\\" + owner + L"\\ICQLite", name, KEY_WOW64_32KEY);
}

void Quit(const wchar_t* reason, UINT exitCode = 0) {
    if (g_closing)
        return;
    g_closing = true;
    g_log.Write(L"exit", reason);
    if (g_window)
        DestroyWindow(g_window);
    g_window = nullptr;
    PostQuitMessage(static_cast<int>(exitCode));
}

// Handles what both login windows share; false for what the window itself must handle.
bool HandleCommon(UINT message, WPARAM wParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !g_closing)
        g_log.WriteTime(L"activated");
    else if (message == WM_COMMAND && LOWORD(wParam) == kLoginButtonId && HIWORD(wParam) == BN_CLICKED)
        g_log.WriteTime(L"enter");
    else if (message == WM_CLOSE)
        Quit(L"close");
    else
        return false;
    return message != WM_ACTIVATE;
}

INT_PTR CALLBACK LoginDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    // WM_INITDIALOG: FALSE, no default focus. Setting the focus in a window activates it, and the
    // point of the record is to show whether the launcher activated it.
    return message != WM_INITDIALOG && HandleCommon(message, wParam);
}

LRESULT CALLBACK PlainLoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleCommon(message, wParam))
        return 0;
    if (message == WM_KEYDOWN && wParam == VK_RETURN && g_kind == L"keys")
        g_log.WriteTime(L"enter");
    else if (message == WM_CHAR)
        g_log.Write(L"char", static_cast<long long>(wParam));
    else
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return 0;
}

HWND CreatePlainLogin(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = PlainLoginProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmoraStandinLogin";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"ICQ Lite Login",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 180, nullptr, nullptr, instance, nullptr);
    if (hwnd && g_kind == L"button")
        CreateWindowExW(0, L"BUTTON", L"Login", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 200,
                        100, 90, 26, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLoginButtonId)),
                        instance, nullptr);
    return hwnd;
}

void ShowLoginWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    g_window = g_kind == L"dialog"
                   ? CreateDialogParamW(instance, L"STANDIN_LOGIN", nullptr, LoginDialogProc, 0)
                   : CreatePlainLogin(instance);
    if (!g_window)
        return g_log.Write(L"window.failed", GetLastError());
    ShowWindow(g_window, g_showCommand);
    g_log.WriteTime(L"window");
    g_log.Write(L"iconic", IsIconic(g_window) ? 1 : 0);
    g_log.Write(L"active", GetActiveWindow() == g_window ? 1 : 0);
    g_log.Write(L"foreground", GetForegroundWindow() == g_window ? 1 : 0);
}

void CALLBACK WindowDelayElapsed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ShowLoginWindow();
}

void CALLBACK LifetimeElapsed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Quit(L"lifetime", EnvironmentNumber(L"VELMORA_STANDIN_EXIT_CODE", 0));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (!g_log)
        return 2;
    g_kind = Environment(L"VELMORA_STANDIN_WINDOW_KIND").value_or(L"dialog");
    g_log.Write(L"pid", GetCurrentProcessId());
    g_log.Write(L"created", CreationTime(GetCurrentProcess()));
    g_log.Write(L"commandline", GetCommandLineW());
    STARTUPINFOW si{sizeof(si)};
    GetStartupInfoW(&si);
    const bool shown = si.dwFlags & STARTF_USESHOWWINDOW;
    g_showCommand = shown ? si.wShowWindow : SW_SHOWDEFAULT;
    g_log.Write(L"ShowWindow", shown ? std::to_wstring(si.wShowWindow) : kMissing);
    RecordClientValues();
    g_log.WriteTime(L"recorded");

    SetTimer(nullptr, 0, EnvironmentNumber(L"VELMORA_STANDIN_LIFETIME_MS", 30000), LifetimeElapsed);
    if (Environment(L"VELMORA_STANDIN_NO_WINDOW") != L"1") {
        if (DWORD delay = EnvironmentNumber(L"VELMORA_STANDIN_WINDOW_DELAY_MS", 0))
            SetTimer(nullptr, 0, delay, WindowDelayElapsed);
        else
            ShowLoginWindow();
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            g_log.Write(L"keydown", static_cast<long long>(msg.wParam));
        if (g_window && g_kind == L"dialog" && IsDialogMessageW(g_window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
