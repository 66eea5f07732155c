#include "app/window_position.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>

namespace velmora::app {

int TwipsToPixels(double twips, unsigned dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double PixelsToTwips(int pixels, unsigned dpi) {
    return pixels * 1440.0 / dpi;
}

std::wstring FormatTwips(double twips, wchar_t decimalSeparator) {
    // Single precision, as the value was always kept: seven significant digits at most.
    float value = static_cast<float>(twips);
    if (!std::isfinite(value))
        value = 0;
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.7g", static_cast<double>(value));
    std::wstring text = buffer;
    if (text.find_first_of(L"eE") != std::wstring::npos) {
        // Far beyond any screen; write it without an exponent so that it reads back.
        std::swprintf(buffer, 64, L"%.0f", static_cast<double>(value));
        text = buffer;
    }
    std::replace(text.begin(), text.end(), L'.', decimalSeparator);
    return text;
}

std::optional<double> ParseTwips(std::wstring_view text, wchar_t decimalSeparator) {
    constexpr std::wstring_view kBlanks = L" \t";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);

    bool negative = false;
    size_t i = 0;
    if (text[0] == L'-') {
        negative = true;
        ++i;
    }
    double whole = 0, fraction = 0, scale = 1;
    int digits = 0, wholeDigits = 0, fractionDigits = 0;
    bool afterSeparator = false;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            ++digits;
            ++(afterSeparator ? fractionDigits : wholeDigits);
            if (afterSeparator) {
                scale /= 10;
                fraction += (c - L'0') * scale;
            } else {
                whole = whole * 10 + (c - L'0');
            }
        } else if (c == decimalSeparator && !afterSeparator) {
            afterSeparator = true;
        } else {
            return std::nullopt;
        }
        // A position is a few hundred thousand twips at most; longer digit runs are garbage
        // (and would overflow the conversion to pixels).
        if (wholeDigits > 9 || fractionDigits > 9)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    double value = whole + fraction;
    return negative ? -value : value;
}

bool IsReachable(const PixelRect& window, int captionHeight, int minGrab,
                 const std::vector<PixelRect>& workAreas) {
    int needWidth = std::min(minGrab, window.Width());
    for (const PixelRect& area : workAreas) {
        bool captionInside = window.top >= area.top && window.top + captionHeight <= area.bottom;
        int visible = std::min(window.right, area.right) - std::max(window.left, area.left);
        if (captionInside && visible >= needWidth && visible > 0)
            return true;
    }
    return false;
}

PixelPoint CentreIn(const PixelRect& area, int width, int height) {
    return {area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2};
}

PixelPoint ChooseOpenPosition(std::wstring_view storedLeft, std::wstring_view storedTop,
                              wchar_t decimalSeparator, unsigned dpi, int width, int height,
                              int captionHeight, int minGrab, const std::vector<PixelRect>& workAreas) {
    PixelRect primary = workAreas.empty() ? PixelRect{0, 0, width, height} : workAreas.front();
    PixelPoint centred = CentreIn(primary, width, height);
    auto left = ParseTwips(storedLeft, decimalSeparator);
    auto top = ParseTwips(storedTop, decimalSeparator);
    if (!left || !top)
        return centred;
    PixelPoint stored{TwipsToPixels(*left, dpi), TwipsToPixels(*top, dpi)};
    PixelRect window{stored.x, stored.y, stored.x + width, stored.y + height};
    return IsReachable(window, captionHeight, minGrab, workAreas) ? stored : centred;
}

} // namespace velmora::app
