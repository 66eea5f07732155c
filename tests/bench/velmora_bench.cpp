// Benchmark, run by hand (tests/bench/run_bench.sh): how long velmora.exe takes from process start
// until its main window is visible and filled, against a program that only opens an empty window;
// and how long from a click on Start until the client's process exists, with direct login off
// (its pause belongs to the client's login, not to Velmora). It writes the program's settings and
// the client's registry data, so it belongs in a prefix of its own.
#include "app/main_window_ids.h"
#include "support/app.h"

#include <algorithm>
#include <cstdio>

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

// Polls every millisecond; the elapsed milliseconds, or -1 after 20 s.
double TimeUntil(Clock::time_point start, const std::function<bool()>& condition) {
    while (!condition()) {
        if (Clock::now() - start > std::chrono::seconds(20))
            return -1;
        Sleep(1);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    test::App prepared; // English, the stand-in installed as the client
    prepared.SetSetting(L"DirectLogin", L"0");
    prepared.SetSetting(L"CloseAfterStart", L"0");
    test::RecordUsers({{L"123456789", 1, {}}, {L"44556677", {}, {}}, {L"987654", {}, {}}}, L"123456789");
    // The stand-in records nothing and ends at once: only its process matters here.
    SetEnvironmentVariableW(L"VELMORA_STANDIN_RECORD", nullptr);
    const auto standins = [] { return test::CountProcesses(L"standin_client.exe"); };
    std::vector<double> empty, themed, velmora, click;
    for (int i = 0; i < runs; ++i) { // the three programs alternate, so that a slow moment hits all
        HWND hwnd = nullptr;
        test::ChildProcess p;
        auto start = [&](const wchar_t* exe, const wchar_t* className, const std::function<bool()>& filled) {
            auto t0 = Clock::now();
            p = test::ChildProcess::Start(test::BinDir() + exe);
            return TimeUntil(t0, [&] {
                return IsWindowVisible(hwnd = gui::FindTopWindow(p.Id(), className, nullptr)) && filled();
            });
        };
        auto close = [&] {
            gui::Close(hwnd);
            p.Wait(std::chrono::seconds(10));
        };
        for (auto [exe, times] :
             {std::pair(L"\\empty_window.exe", &empty), std::pair(L"\\themed_window.exe", &themed)}) {
            times->push_back(start(exe, L"VelmoraBenchEmpty", [] { return true; }));
            close();
        }
        velmora.push_back(start(L"\\velmora.exe", app::kMainWindowClass, [&] {
            return SendMessageW(GetDlgItem(hwnd, app::IDC_COMB_USER), CB_GETCOUNT, 0, 0) == 3 &&
                   SendMessageW(GetDlgItem(hwnd, app::IDC_IMGCOMB_STATUS), CB_GETCURSEL, 0, 0) == 1;
        }));
        auto c0 = Clock::now();
        PostMessageW(GetDlgItem(hwnd, app::IDC_CBTN_START), BM_CLICK, 0, 0);
        click.push_back(TimeUntil(c0, [&] { return standins() > 0; }));
        // Velmora has finished the start once it takes input again, and the stand-in is gone.
        TimeUntil(Clock::now(), [&] { return IsWindowEnabled(hwnd) && standins() == 0; });
        close();
    }
    double e = Median(empty), t = Median(themed), v = Median(velmora), c = Median(click);
    std::printf("runs: %d (medians)\n", runs);
    std::printf("empty window visible:          %8.1f ms\n", e);
    std::printf("themed window with a button:   %8.1f ms\n", t);
    std::printf("velmora visible and filled:    %8.1f ms  (%.2f x the empty window, %.2f x the themed one)\n",
                v, e > 0 ? v / e : -1.0, t > 0 ? v / t : -1.0);
    std::printf("Start click -> client process: %8.1f ms\n", c);
    return 0;
}
