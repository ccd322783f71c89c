#include "camera/preview_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

using camera::PreviewRect;
using camera::ZoomHeight;
using ui::Rect;

TEST(PreviewRect, StartUpHeightCentresTheBoxRightOfTheFrame) {
    // 800 * 1.777 = 1421.6; 343 - 710.5 = -367.5, truncated toward zero.
    EXPECT_EQ(PreviewRect(800), (Rect{-367, -200, 1421, 800}));
}

TEST(PreviewRect, EveryZoomPosition) {
    struct Row {
        int position, height;
        Rect box;
    };
    constexpr std::array<Row, 10> kZoomTable{{
        {1, 120, {236, 140, 213, 120}},
        {2, 220, {148, 90, 390, 220}},
        {3, 320, {59, 40, 568, 320}},
        {4, 420, {-30, -10, 746, 420}},
        {5, 520, {-119, -60, 924, 520}},
        {6, 620, {-207, -110, 1101, 620}},
        {7, 720, {-296, -160, 1279, 720}},
        {8, 820, {-385, -210, 1457, 820}},
        {9, 920, {-474, -260, 1634, 920}},
        {10, 1024, {-566, -312, 1819, 1024}},
    }};
    for (const Row& row : kZoomTable) {
        SCOPED_TRACE(row.position);
        ASSERT_EQ(ZoomHeight(row.position), row.height);
        EXPECT_EQ(PreviewRect(row.height), row.box);
    }
}

TEST(ZoomHeight, NothingOutsideTheSlidersRange) {
    constexpr int kLowest = std::numeric_limits<int>::min();
    constexpr int kHighest = std::numeric_limits<int>::max();
    for (const int position : {0, -1, 11, 100, kLowest, kHighest})
        EXPECT_EQ(ZoomHeight(position), std::nullopt) << position;
}

}  // namespace
