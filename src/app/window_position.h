// Where the main window opens: the stored left/top (in twips, in the user's number format) when
// they read back as numbers and leave the window reachable, the centre of the screen otherwise.
// Pure C++ (no <windows.h>): the Windows half supplies the monitors and the number format.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

// Twips are 1/1440 inch: 15 of them make one pixel at 96 DPI.
int TwipsToPixels(double twips, unsigned dpi);
double PixelsToTwips(int pixels, unsigned dpi);

// A position as stored: a single-precision number with up to seven significant digits, no
// grouping, the user's decimal separator. -1234.5 with ',' gives "-1234,5"; 4500 gives "4500".
std::wstring FormatTwips(double twips, wchar_t decimalSeparator);
// The reverse: blanks around, an optional minus, digits, optionally the separator and more
// digits. Anything else, e.g. a value written with another separator, reads as nothing.
std::optional<double> ParseTwips(std::wstring_view text, wchar_t decimalSeparator);

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
struct PixelPoint {
    int x = 0, y = 0;
};

// True when the user can still reach the window to move it: on some work area the window's top
// edge and its caption strip (captionHeight high) are fully visible vertically, and at least
// minGrab pixels of that strip (or its whole width, when narrower) are visible horizontally.
bool IsReachable(const PixelRect& window, int captionHeight, int minGrab,
                 const std::vector<PixelRect>& workAreas);

// Top-left corner that centres a window of the given size on an area.
PixelPoint CentreIn(const PixelRect& area, int width, int height);

// The top-left corner to open at: the stored twips when both parse and the window would be
// reachable there, else centred on the primary work area (the first one).
PixelPoint ChooseOpenPosition(std::wstring_view storedLeft, std::wstring_view storedTop,
                              wchar_t decimalSeparator, unsigned dpi, int width, int height,
                              int captionHeight, int minGrab, const std::vector<PixelRect>& workAreas);

} // namespace velmora::app
