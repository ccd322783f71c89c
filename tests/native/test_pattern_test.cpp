#include "test_pattern.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vedio::pattern {
namespace {

struct Picture {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(static_cast<std::size_t>(kStride * kHeight));

    explicit Picture(std::uint64_t frame) { Draw(frame, bytes.data()); }
    // 0xRRGGBB at picture coordinates; the DIB keeps the bottom row first.
    std::uint32_t At(int x, int y) const {
        const std::uint8_t* p = &bytes[static_cast<std::size_t>((kHeight - 1 - y) * kStride + 3 * x)];
        return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
    }
};

bool SameInside(const Picture& a, const Picture& b, Area area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.At(x, y) != b.At(x, y)) return false;
        }
    }
    return true;
}

TEST(TestPattern, BarsStayPutOutsideTheFigureAndTheCounter) {
    EXPECT_EQ(BarColourAt(0), 0xFFFFFFu);
    EXPECT_EQ(BarColourAt(kBarWidth), 0xFFFF00u);
    EXPECT_EQ(BarColourAt(kWidth - 1), 0x404040u);
    for (std::uint64_t frame = 0; frame < kSwayPeriodFrames; frame += 4) {
        const Picture picture(frame);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (kFigureArea.Contains(x, y) || kCounterArea.Contains(x, y)) continue;
                wrong += picture.At(x, y) != BarColourAt(x);
            }
        }
        EXPECT_EQ(wrong, 0) << "frame " << frame;
    }
}

TEST(TestPattern, FigureSwaysAndShowsHeadOverShoulders) {
    EXPECT_EQ(FigureOffset(0), 0);
    EXPECT_EQ(FigureOffset(15), kSwayAmplitude);
    EXPECT_EQ(FigureOffset(45), -kSwayAmplitude);
    EXPECT_EQ(FigureOffset(9), 32);  // 40 sin(0.3 pi)
    EXPECT_EQ(FigureOffset(kSwayPeriodFrames + 9), 32);
    // Frames 300 ms apart differ inside the figure's area.
    EXPECT_FALSE(SameInside(Picture(0), Picture(9), kFigureArea));

    // Down the figure's middle: bars, then skin, then clothes to the bottom edge.
    const Picture picture(15);
    const int middle = kWidth / 2 + FigureOffset(15);
    EXPECT_EQ(picture.At(middle, kFigureArea.top), BarColourAt(middle));
    int y = kFigureArea.top;
    while (y < kHeight && picture.At(middle, y) != kSkinColour) ++y;
    const int skinTop = y;
    while (y < kHeight && picture.At(middle, y) == kSkinColour) ++y;
    EXPECT_GE(y - skinTop, 150);  // head and neck
    EXPECT_EQ(picture.At(middle, y), kClothesColour);
    EXPECT_EQ(picture.At(middle, kHeight - 1), kClothesColour);
}

TEST(TestPattern, CounterChangesEveryFrameAndShowsTheNumber) {
    const Picture first(41);
    EXPECT_FALSE(SameInside(first, Picture(42), kCounterArea));
    EXPECT_FALSE(SameInside(first, Picture(51), kCounterArea));
    EXPECT_FALSE(SameInside(first, Picture(141), kCounterArea));
    // The same number modulo a million, whatever the figure does.
    EXPECT_TRUE(SameInside(first, Picture(1'000'041), kCounterArea));
    // White segments on black in the counter's box.
    int white = 0;
    for (int y = kCounterArea.top; y < kCounterArea.bottom; ++y) {
        for (int x = kCounterArea.left; x < kCounterArea.right; ++x) white += first.At(x, y) == 0xFFFFFF;
    }
    EXPECT_GT(white, kCounterDigits * kDigitHeight);
}

}  // namespace
}  // namespace vedio::pattern
