// Benchmark, run by hand (tests/bench/run_bench.sh): how long velmora.exe takes from process start
// until its main window is visible and filled, against a program that only opens an empty window;
// and how long from a click on Start until the client's process exists, with direct login off
// (its pause belongs to the client's login, not to Velmora). It writes the program's settings and
// the client's registry data, so it belongs in a prefix of its own.
#include "app/main_window_ids.h"
#include "client/icq_lite.h"
#include "gui_driver/gui_driver.h"
#include "platform/process.h"
#include "support/standin.h"
#include "support/support.h"

#include <tlhelp32.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

using test::BinDir;

HWND VisibleWindow(DWORD pid, const wchar_t* className) {
    for (HWND hwnd : gui::TopWindows(pid, className))
        if (IsWindowVisible(hwnd))
            return hwnd;
    return nullptr;
}

// Polls every millisecond; the elapsed milliseconds, or -1 after 20 s.
double TimeUntil(Clock::time_point start, const std::function<bool()>& condition) {
    while (!condition()) {
        if (Clock::now() - start > std::chrono::seconds(20))
            return -1;
        Sleep(1);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

platform::UniqueProcessInfo Start(const std::wstring& exe) {
    DWORD error = 0;
    return platform::StartProcess(exe, platform::QuoteArgument(exe), SW_SHOWNORMAL, error);
}

void CloseAndWait(HWND hwnd, HANDLE process) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    WaitForSingleObject(process, 10000);
}

DWORD FindProcess(const wchar_t* exeName) {
    platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            return entry.th32ProcessID;
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void Prepare() {
    Reg reg;
    const std::wstring settings = L"Software\\Ardentix\\Velmora\\Settings";
    reg.WriteValue(L"Language", L"English", REG_SZ, settings, HKEY_CURRENT_USER);
    reg.WriteValue(L"DirectLogin", L"0", REG_SZ, settings, HKEY_CURRENT_USER);
    reg.WriteValue(L"CloseAfterStart", L"0", REG_SZ, settings, HKEY_CURRENT_USER);
    reg.WriteValue(L"", BinDir() + L"\\standin_client.exe", REG_SZ, icqlite::kAppPathsKey, HKEY_LOCAL_MACHINE,
                   RegView::View32);
    test::RecordUsers({{L"123456789", 1, {}}, {L"44556677", {}, {}}, {L"987654", {}, {}}}, L"123456789");
    // The stand-in records nothing and ends by itself soon: only its process matters here.
    SetEnvironmentVariableW(L"VELMORA_STANDIN_RECORD", nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    Prepare();
    const std::wstring bin = BinDir();
    std::vector<double> empty, themed, velmora, click;
    for (int i = 0; i < runs; ++i) { // the three programs alternate, so that a slow moment hits all
        HWND hwnd = nullptr;
        for (auto [exe, times] : {std::pair(L"empty_window.exe", &empty), std::pair(L"themed_window.exe", &themed)}) {
            auto t0 = Clock::now();
            auto p = Start(bin + L"\\" + exe);
            times->push_back(
                TimeUntil(t0, [&] { return (hwnd = VisibleWindow(p.processId, L"VelmoraBenchEmpty")); }));
            CloseAndWait(hwnd, p.process.get());
        }

        auto t0 = Clock::now();
        auto p = Start(bin + L"\\velmora.exe");
        velmora.push_back(TimeUntil(t0, [&] {
            hwnd = VisibleWindow(p.processId, app::kMainWindowClass);
            HWND users = hwnd ? GetDlgItem(hwnd, app::IDC_COMB_USER) : nullptr;
            HWND list = hwnd ? GetDlgItem(hwnd, app::IDC_IMGCOMB_STATUS) : nullptr;
            return users && SendMessageW(users, CB_GETCOUNT, 0, 0) == 3 &&
                   SendMessageW(list, CB_GETCURSEL, 0, 0) == 1;
        }));

        auto c0 = Clock::now();
        PostMessageW(GetDlgItem(hwnd, app::IDC_CBTN_START), BM_CLICK, 0, 0);
        DWORD client = 0;
        click.push_back(TimeUntil(c0, [&] { return (client = FindProcess(L"standin_client.exe")) != 0; }));
        if (client) {
            platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, client));
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
        // Velmora has finished the start once it takes input again.
        TimeUntil(Clock::now(), [&] { return IsWindowEnabled(hwnd) != FALSE; });
        CloseAndWait(hwnd, p.process.get());
    }
    double e = Median(empty), t = Median(themed), v = Median(velmora), c = Median(click);
    std::printf("runs: %d (medians)\n", runs);
    std::printf("empty window visible:          %8.1f ms\n", e);
    std::printf("themed window with a button:   %8.1f ms\n", t);
    std::printf("velmora visible and filled:    %8.1f ms  (%.2f x the empty window, %.2f x the themed one)\n", v,
                e > 0 ? v / e : -1.0, t > 0 ? v / t : -1.0);
    std::printf("Start click -> client process: %8.1f ms\n", c);
    return 0;
}
