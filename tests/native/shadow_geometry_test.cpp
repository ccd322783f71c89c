// The drop shadow's numbers: opacity per outline, where the shadow window goes, where each
// outline runs, the corner arcs, and the colour conversion.
#include "chrome/shadow_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using chrome::OutlineAlpha;

std::vector<int> Alphas(int size) {
    std::vector<int> alphas;
    for (int i = 1; i <= size; ++i) alphas.push_back(OutlineAlpha(i, size));
    return alphas;
}

TEST(ShadowOpacity, RisesFromTheOuterEdgeToTheOwner) {
    EXPECT_EQ(Alphas(5), (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_EQ(Alphas(8).back(), 96);   // step 12
    EXPECT_EQ(Alphas(9).front(), 16);  // above 8 the numerator is 150
    EXPECT_EQ(Alphas(9).back(), 144);
    EXPECT_EQ(Alphas(150).back(), 150);
    EXPECT_EQ(Alphas(151), std::vector<int>(151, 0)) << "above 150 nothing is painted";
    EXPECT_EQ(chrome::ShadowOpacityStep(0), 0);
    EXPECT_EQ(chrome::ShadowOpacityStep(-3), 0);
    EXPECT_EQ(OutlineAlpha(6, 5), 0) << "no outline beyond the size";
}

TEST(ShadowPlacement, ExceedsTheOwnerBySizeOnEverySide) {
    const auto place = chrome::PlaceShadow(100, 200, 1124, 850, 5);  // the 1024 x 650 Main window
    ASSERT_TRUE(place);
    EXPECT_EQ(place->left, 95);
    EXPECT_EQ(place->top, 195);
    EXPECT_EQ(place->width, 1034);
    EXPECT_EQ(place->height, 660);

    const auto offScreen = chrome::PlaceShadow(-50, -20, -10, 0, 3);
    ASSERT_TRUE(offScreen);
    EXPECT_EQ(offScreen->left, -53);
    EXPECT_EQ(offScreen->width, 46);
    EXPECT_EQ(offScreen->height, 26);
}

TEST(ShadowPlacement, NothingForEmptyOwnersOrNumbersThatDoNotFit) {
    EXPECT_FALSE(chrome::PlaceShadow(10, 10, 10, 50, 5)) << "no width";
    EXPECT_FALSE(chrome::PlaceShadow(10, 10, 50, 10, 5)) << "no height";
    EXPECT_FALSE(chrome::PlaceShadow(50, 10, 10, 50, 5)) << "right of left";
    EXPECT_FALSE(chrome::PlaceShadow(0, 0, 10, 10, 0));
    EXPECT_FALSE(chrome::PlaceShadow(INT_MIN + 2, 0, 10, 10, 5)) << "left wraps around";
    EXPECT_FALSE(chrome::PlaceShadow(0, 0, 10, 10, INT_MAX)) << "size wraps around";
    EXPECT_FALSE(chrome::PlaceShadow(0, 0, 40000, 40000, 5)) << "more bytes than a DIB header can state";
    EXPECT_TRUE(chrome::PlaceShadow(0, 0, 10, 10, 1000)) << "a wide margin is fine while it fits";
}

TEST(ShadowOutline, RunsFromTheOuterEdgeToJustOutsideTheOwner) {
    constexpr int kW = 1034, kH = 660, kSize = 5;
    const chrome::OutlineRect outer = chrome::ShadowOutline(1, kW, kH);
    EXPECT_EQ(outer.x, 0);
    EXPECT_EQ(outer.y, 0);
    EXPECT_EQ(outer.x + outer.width, kW - 1) << "centred on the last column";
    EXPECT_EQ(outer.y + outer.height, kH - 1);

    const chrome::OutlineRect inner = chrome::ShadowOutline(kSize, kW, kH);
    EXPECT_EQ(inner.x, kSize - 1) << "the column left of the owner";
    EXPECT_EQ(inner.x + inner.width, kW - kSize) << "the column right of the owner";
    EXPECT_EQ(inner.y + inner.height, kH - kSize);
}

TEST(ShadowOutline, CornerArcsFitTheOutline) {
    EXPECT_EQ(chrome::CornerDiameter(4, 100, 50), 8);
    EXPECT_EQ(chrome::CornerDiameter(0, 100, 50), 0) << "a plain rectangle";
    EXPECT_EQ(chrome::CornerDiameter(-2, 100, 50), 0);
    EXPECT_EQ(chrome::CornerDiameter(500, 1000, 1000), 200) << "radius capped at 100";
    EXPECT_EQ(chrome::CornerDiameter(4, 3, 50), 3) << "arcs of a narrow outline meet";
    EXPECT_EQ(chrome::CornerDiameter(4, 50, 2), 2);
}

TEST(ShadowColour, ColorRefBytesBecomeArgb) {
    EXPECT_EQ(chrome::ColorRefToArgb(0x808080, 20), 0x14808080u);
    EXPECT_EQ(chrome::ColorRefToArgb(0x0000FF, 255), 0xFFFF0000u) << "0x0000FF is red";
    EXPECT_EQ(chrome::ColorRefToArgb(0xFF0000, 100), 0x640000FFu) << "0xFF0000 is blue";
    EXPECT_EQ(chrome::ColorRefToArgb(0x00336699, 1), 0x01996633u);
    EXPECT_EQ(chrome::ColorRefToArgb(0x01123456, 0), 0x00563412u) << "the top byte is no colour";
    EXPECT_EQ(chrome::ColorRefToArgb(0x808080, 300), 0xFF808080u) << "alpha clamped, no carry into red";
    EXPECT_EQ(chrome::ColorRefToArgb(0x808080, -1), 0x00808080u);
}

}  // namespace
