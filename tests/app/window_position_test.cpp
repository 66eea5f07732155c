#include "app/window_position.h"

#include <gtest/gtest.h>

namespace velmora::app {
namespace {

TEST(WindowPosition, StoredTextsWriteAndReadBack) {
    struct Format {
        double twips;
        wchar_t separator;
        const wchar_t* text;
    };
    const Format written[] = {{4500, L',', L"4500"},
                              {-1500, L'.', L"-1500"},
                              {1234.5, L',', L"1234,5"},
                              {1000.0 / 3, L'.', L"333.3333"},
                              {12345678, L'.', L"12345678"}}; // no exponent
    for (const Format& c : written) {
        EXPECT_EQ(FormatTwips(c.twips, c.separator), c.text) << c.twips;
        auto back = ParseTwips(c.text, c.separator);
        EXPECT_TRUE(back && std::abs(*back - c.twips) < 1)
            << testing::PrintToString(std::wstring(c.text)) << " did not read back";
    }
    struct Parse {
        const wchar_t* text;
        wchar_t separator;
        bool ok;
    };
    const Parse read[] = {
        {L" 4500 ", L'.', true},      {L"12.", L'.', true},
        {L".5", L'.', true},          {L"999999999", L'.', true},
        {L"12.5", L',', false}, // written with another separator
        {L"1.234,5", L',', false},    {L"", L'.', false},
        {L"-", L'.', false},          {L"+15", L'.', false},
        {L"1e3", L'.', false},        {L"12..5", L'.', false},
        {L"1 2", L'.', false},        {L"abc", L'.', false},
        {L"9999999999", L'.', false}, // would overflow the conversion to pixels
    };
    for (const Parse& c : read)
        EXPECT_EQ(ParseTwips(c.text, c.separator).has_value(), c.ok)
            << testing::PrintToString(std::wstring(c.text));
}

TEST(WindowPosition, OpensWhereStoredOnlyWhenReachable) {
    const std::vector<PixelRect> two{{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
    const PixelPoint centred{(1280 - 273) / 2, (994 - 400) / 2};
    struct Case {
        const char* name;
        const wchar_t *left, *top;
        unsigned dpi;
        PixelPoint expected;
    };
    const Case cases[] = {
        {"stored, 96 DPI", L"1500", L"3000", 96, {100, 200}},
        {"stored, 144 DPI", L"1500", L"3000", 144, {150, 300}},
        {"on the second monitor", L"24000", L"1500", 96, {1600, 100}},
        {"across both monitors", L"18000", L"1500", 96, {1200, 100}},
        {"only 48 px left on screen", L"-3375", L"1500", 96, {-225, 100}},
        {"only 47 px left on screen", L"-3390", L"1500", 96, centred},
        {"nothing stored", L"", L"", 96, centred},
        {"only left stored", L"1500", L"", 96, centred},
        {"garbage", L"left", L"3000", 96, centred},
        {"right of every monitor", L"60000", L"3000", 96, centred},
        {"caption above the screen", L"1500", L"-150", 96, centred},
        {"caption below the work area", L"1500", L"14800", 96, centred},
    };
    for (const Case& c : cases) {
        PixelPoint got = ChooseOpenPosition(c.left, c.top, L'.', c.dpi, 273, 400, 20, 48, two);
        EXPECT_TRUE(got.x == c.expected.x && got.y == c.expected.y)
            << c.name << ": opened at " << got.x << "," << got.y;
    }
    EXPECT_FALSE(IsReachable({0, 0, 100, 100}, 20, 48, {})) << "reachable without any monitor";
}

// The position is stored and read back in one unit, twips of the system DPI, whatever DPI the
// monitor the window is on has: a window on a second monitor at 150 % reopens where it was.
TEST(WindowPosition, OneUnitOnEveryMonitor) {
    const std::vector<PixelRect> monitors{{0, 0, 1920, 1040}, {1920, 0, 4800, 1620}}; // 96 and 144 DPI
    for (unsigned systemDpi : {96u, 120u}) {
        for (PixelPoint at : {PixelPoint{100, 50}, PixelPoint{2500, 300}}) {
            std::wstring left = FormatTwips(PixelsToTwips(at.x, systemDpi), L'.');
            std::wstring top = FormatTwips(PixelsToTwips(at.y, systemDpi), L'.');
            PixelPoint back = ChooseOpenPosition(left, top, L'.', systemDpi, 400, 500, 30, 72, monitors);
            EXPECT_TRUE(back.x == at.x && back.y == at.y)
                << at.x << "," << at.y << " at system DPI " << systemDpi << " reopened at " << back.x << ","
                << back.y;
        }
    }
}

} // namespace
} // namespace velmora::app
