// The comparison that tells a message box's icon from its background and from the other icons.
#include "gui_driver/pixels.h"

#include <gtest/gtest.h>

namespace velmora::gui {
namespace {

TEST(IconMatch, CountsOnlyTheIconsOpaquePixels) {
    // A 4x1 "icon": two opaque pixels (same on both backgrounds), two transparent ones.
    Pixels onBlack{4, 1, {0xFF0000, 0x00FF00, 0x000000, 0x101010}};
    Pixels onWhite{4, 1, {0xFF0000, 0x00FF00, 0xFFFFFF, 0xF0F0F0}};
    struct Case {
        const char* name;
        Pixels screen;
        double expected;
    };
    const Case cases[] = {
        {"exact, grey background", {4, 1, {0xFF0000, 0x00FF00, 0x808080, 0x808080}}, 1.0},
        {"within tolerance", {4, 1, {0xF80808, 0x08F808, 0x123456, 0x654321}}, 1.0},
        {"one channel off by 9", {4, 1, {0xFF0000, 0x00F600, 0, 0}}, 0.5},
        {"background only", {4, 1, {0xF5F5F5, 0xF5F5F5, 0xF5F5F5, 0xF5F5F5}}, 0.0},
        {"other icon", {4, 1, {0x0000FF, 0xFFFF00, 0xFF0000, 0x00FF00}}, 0.0},
        {"size differs", {2, 2, {0xFF0000, 0x00FF00, 0, 0}}, 0.0},
        {"nothing captured", {}, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(IconMatch(c.screen, onBlack, onWhite), c.expected) << c.name;
    EXPECT_EQ(IconMatch(Pixels{1, 1, {0}}, Pixels{1, 1, {0}}, Pixels{1, 1, {0xFFFFFF}}), 0.0)
        << "an icon without opaque pixels matched a blank screen";
}

} // namespace
} // namespace velmora::gui
