#include "app/window_place.h"

#include "app/window_position.h"
#include "platform/dpi.h"
#include "settings/settings.h"
#include "ui/window.h"

#include <vector>

namespace velmora::app {
namespace {

wchar_t UserDecimalSeparator() {
    wchar_t separator[8] = L".";
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
        return L'.';
    return separator[0];
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept {
    return ui::Guarded(
        L"frmMain.WorkAreas",
        [&] {
            MONITORINFO info{sizeof(info)};
            if (!GetMonitorInfoW(monitor, &info))
                return TRUE;
            auto& found = *reinterpret_cast<std::vector<PixelRect>*>(list);
            PixelRect area{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
            // The primary monitor first: the window is centred on it.
            found.insert(info.dwFlags & MONITORINFOF_PRIMARY ? found.begin() : found.end(), area);
            return TRUE;
        },
        FALSE);
}

std::vector<PixelRect> WorkAreas() {
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

} // namespace

POINT StoredPlace(const Settings* settings, SIZE size, UINT windowDpi) {
    std::wstring left = settings ? settings->ReadValue(L"frmMain.Left") : std::wstring();
    std::wstring top = settings ? settings->ReadValue(L"frmMain.Top") : std::wstring();
    PixelPoint at = ChooseOpenPosition(left, top, UserDecimalSeparator(), platform::SystemDpi(), size.cx,
                                       size.cy, platform::SystemMetric(SM_CYCAPTION, windowDpi),
                                       platform::TwipsToPx(720, windowDpi), WorkAreas());
    return {at.x, at.y};
}

void StorePlace(HWND hwnd, const Settings& settings, NotSavedList& notSaved) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    WINDOWPLACEMENT placement{sizeof(placement)};
    if (IsIconic(hwnd) && GetWindowPlacement(hwnd, &placement)) {
        // Minimised: where it will be restored to, in workspace coordinates.
        MONITORINFO info{sizeof(info)};
        GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
        rc.left = placement.rcNormalPosition.left + info.rcWork.left - info.rcMonitor.left;
        rc.top = placement.rcNormalPosition.top + info.rcWork.top - info.rcMonitor.top;
    }
    // One unit for every monitor: twips of the system DPI, whatever DPI the window's monitor has.
    UINT dpi = platform::SystemDpi();
    wchar_t separator = UserDecimalSeparator();
    settings.WriteValue(L"frmMain.Left", FormatTwips(PixelsToTwips(rc.left, dpi), separator), &notSaved);
    settings.WriteValue(L"frmMain.Top", FormatTwips(PixelsToTwips(rc.top, dpi), separator), &notSaved);
}

} // namespace velmora::app
