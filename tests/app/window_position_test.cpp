#include "app/window_position.h"

#include <gtest/gtest.h>

namespace velmora::app {
namespace {

TEST(WindowPosition, TwipsTextRoundTrip) {
    struct Case {
        double twips;
        wchar_t separator;
        const wchar_t* text;
    };
    const Case cases[] = {
        {4500, L'.', L"4500"},           {4500, L',', L"4500"},     {0, L'.', L"0"},
        {-1500, L',', L"-1500"},         {1234.5, L',', L"1234,5"}, {1234.5, L'.', L"1234.5"},
        {12345678, L'.', L"12345678"}, // beyond seven digits: no exponent, still readable
        {1000.0 / 3, L'.', L"333.3333"},
    };
    for (const Case& c : cases) {
        std::wstring text = FormatTwips(c.twips, c.separator);
        EXPECT_EQ(text, c.text) << "twips " << c.twips << " separator " << static_cast<char>(c.separator);
        auto back = ParseTwips(text, c.separator);
        ASSERT_TRUE(back.has_value()) << "\"" << testing::PrintToString(text) << "\" did not read back";
        EXPECT_NEAR(*back, static_cast<float>(c.twips), 1.0) << testing::PrintToString(text);
    }
}

TEST(WindowPosition, ParseRefusesWhatIsNoPosition) {
    struct Case {
        const wchar_t* text;
        wchar_t separator;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {L" 4500 ", L'.', true, 4500},
        {L"-15", L'.', true, -15},
        {L"12,5", L',', true, 12.5},
        {L"12.", L'.', true, 12},
        {L".5", L'.', true, 0.5},
        {L"12.5", L',', false, 0},    // written with another separator
        {L"1.234,5", L',', false, 0}, // grouping is never written
        {L"", L'.', false, 0},
        {L"  ", L'.', false, 0},
        {L"-", L'.', false, 0},
        {L"+15", L'.', false, 0},
        {L"1e3", L'.', false, 0},
        {L"abc", L'.', false, 0},
        {L"12..5", L'.', false, 0},
        {L"1 2", L'.', false, 0},
        {L"9999999999", L'.', false, 0}, // would overflow the pixel conversion
        {L"999999999", L'.', true, 999999999},
    };
    for (const Case& c : cases) {
        auto got = ParseTwips(c.text, c.separator);
        EXPECT_EQ(got.has_value(), c.ok)
            << "text \"" << testing::PrintToString(std::wstring(c.text)) << "\" gave "
            << (got ? std::to_string(*got) : std::string("nothing"));
        if (got && c.ok) {
            EXPECT_DOUBLE_EQ(*got, c.value) << testing::PrintToString(std::wstring(c.text));
        }
    }
}

TEST(WindowPosition, TwipsAndPixelsAtCommonScalings) {
    struct Case {
        double twips;
        unsigned dpi;
        int pixels;
    };
    const Case cases[] = {{1500, 96, 100},    {1500, 144, 150}, {1500, 192, 200},
                          {-1500, 120, -125}, {7, 96, 0},       {8, 96, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi << " DPI";
        if (c.pixels * 15 * 96 == static_cast<int>(c.twips * c.dpi)) {
            EXPECT_DOUBLE_EQ(PixelsToTwips(c.pixels, c.dpi), c.twips) << c.pixels << " px at " << c.dpi;
        }
    }
}

TEST(WindowPosition, ReachableOnlyWithCaptionOnAWorkArea) {
    const std::vector<PixelRect> one{{0, 0, 1280, 994}};
    const std::vector<PixelRect> two{{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
    struct Case {
        const char* name;
        PixelRect window;
        const std::vector<PixelRect>* areas;
        bool reachable;
    };
    const Case cases[] = {
        {"inside", {100, 100, 373, 500}, &one, true},
        {"at the top-left corner", {0, 0, 273, 400}, &one, true},
        {"bottom hangs below the work area", {100, 800, 373, 1200}, &one, true},
        {"only the last 48 px visible on the left", {-225, 100, 48, 500}, &one, true},
        {"only 47 px visible on the left", {-226, 100, 47, 500}, &one, false},
        {"caption above the screen", {100, -10, 373, 390}, &one, false},
        {"caption below the work area", {100, 980, 373, 1380}, &one, false},
        {"far away on a monitor that is gone", {3000, 200, 3273, 600}, &one, false},
        {"on the second monitor", {1500, 200, 1773, 600}, &two, true},
        {"across both monitors", {1200, 200, 1473, 600}, &two, true},
        {"right of both", {2600, 200, 2873, 600}, &two, false},
        {"no monitors at all", {0, 0, 100, 100}, nullptr, false},
    };
    const std::vector<PixelRect> none;
    for (const Case& c : cases)
        EXPECT_EQ(IsReachable(c.window, 20, 48, c.areas ? *c.areas : none), c.reachable) << c.name;
}

TEST(WindowPosition, OpenPositionStoredOrCentred) {
    const std::vector<PixelRect> areas{{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
    const PixelPoint centred{(1280 - 273) / 2, (994 - 400) / 2};
    struct Case {
        const char* name;
        const wchar_t* left;
        const wchar_t* top;
        wchar_t separator;
        unsigned dpi;
        PixelPoint expected;
    };
    const Case cases[] = {
        {"stored at 96 DPI", L"1500", L"3000", L'.', 96, {100, 200}},
        {"stored at 144 DPI", L"1500", L"3000", L'.', 144, {150, 300}},
        {"decimal comma", L"1507,5", L"3000", L',', 96, {101, 200}},
        {"on the second monitor", L"24000", L"1500", L'.', 96, {1600, 100}},
        {"nothing stored", L"", L"", L'.', 96, centred},
        {"only left stored", L"1500", L"", L'.', 96, centred},
        {"garbage", L"left", L"3000", L'.', 96, centred},
        {"other number format", L"1500.5", L"3000", L',', 96, centred},
        {"off every screen", L"60000", L"3000", L'.', 96, centred},
        {"above the screen", L"1500", L"-3000", L'.', 96, centred},
    };
    for (const Case& c : cases) {
        PixelPoint got = ChooseOpenPosition(c.left, c.top, c.separator, c.dpi, 273, 400, 20, 48, areas);
        EXPECT_EQ(got.x, c.expected.x) << c.name;
        EXPECT_EQ(got.y, c.expected.y) << c.name;
    }
}

} // namespace
} // namespace velmora::app
