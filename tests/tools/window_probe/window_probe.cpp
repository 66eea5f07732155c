// A small command-line helper for scripts that run Velmora under Wine: waits until a window is
// shown and painted and prints where it is, or closes it as its close box would.
//   window_probe wait  CLASS TITLE [TIMEOUT_MS]   prints "X Y WIDTH HEIGHT"; exit code 1 on timeout
//   window_probe close CLASS TITLE [TIMEOUT_MS]   posts WM_CLOSE; exit code 1 when there is no window
#include "gui_driver/gui_driver.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <thread>

namespace {

using namespace std::chrono_literals;

size_t Colours(std::vector<uint32_t> pixels) {
    std::sort(pixels.begin(), pixels.end());
    return static_cast<size_t>(std::unique(pixels.begin(), pixels.end()) - pixels.begin());
}

// Shown is not yet drawn: the window counts as painted when two captures a moment apart agree and
// show more than a blank face.
bool WaitUntilPainted(HWND hwnd, std::chrono::steady_clock::time_point deadline) {
    velmora::gui::Pixels previous;
    while (std::chrono::steady_clock::now() < deadline && IsWindow(hwnd)) {
        velmora::gui::Pixels now = velmora::gui::CaptureScreen(velmora::gui::WindowRect(hwnd));
        if (!now.rgb.empty() && now.rgb == previous.rgb && Colours(now.rgb) > 4)
            return true;
        previous = std::move(now);
        std::this_thread::sleep_for(150ms);
    }
    return false;
}

int Usage() {
    fwprintf(stderr, L"usage: window_probe wait|close CLASS TITLE [TIMEOUT_MS]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4)
        return Usage();
    const std::wstring command = argv[1];
    const auto timeout = std::chrono::milliseconds(argc > 4 ? _wtoi(argv[4]) : 20000);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    HWND hwnd = velmora::gui::WaitForTopWindow(0, argv[2], argv[3], timeout);
    if (!hwnd) {
        fwprintf(stderr, L"window_probe: no window \"%ls\" of class %ls\n", argv[3], argv[2]);
        return 1;
    }
    if (command == L"close") {
        velmora::gui::Close(hwnd);
        return 0;
    }
    if (command != L"wait")
        return Usage();
    if (!WaitUntilPainted(hwnd, deadline)) {
        fwprintf(stderr, L"window_probe: the window did not finish painting\n");
        return 1;
    }
    RECT rc = velmora::gui::WindowRect(hwnd);
    wprintf(L"%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}
