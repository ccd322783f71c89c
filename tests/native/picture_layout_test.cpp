#include "ui/picture_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using ui::CentredPlacement;
using ui::ParseBmp;
using ui::Rect;

TEST(CentredPlacement, ShrinksLargePicturesByOneFactorAndCentresThem) {
    // A full capture in a slot's client area: a one-pixel band above and below.
    EXPECT_EQ(CentredPlacement(295, 412, 145, 204), (Rect{0, 1, 145, 202}));
    EXPECT_EQ(CentredPlacement(400, 100, 200, 200), (Rect{0, 75, 200, 50}));
}

TEST(CentredPlacement, KeepsSmallPicturesAtNaturalSize) {
    EXPECT_EQ(CentredPlacement(100, 50, 145, 204), (Rect{22, 77, 100, 50}));
    EXPECT_EQ(CentredPlacement(145, 204, 145, 204), (Rect{0, 0, 145, 204}));
}

TEST(CentredPlacement, NothingToDrawForEmptySizes) {
    EXPECT_TRUE(CentredPlacement(0, 10, 145, 204).Empty());
    EXPECT_TRUE(CentredPlacement(10, 10, 0, 0).Empty());
}

std::vector<std::uint8_t> Bmp(int width, int height, int bits, std::size_t pixelBytes) {
    std::vector<std::uint8_t> b(54 + pixelBytes, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    return b;
}

TEST(ParseBmp, ReadsCaptureLayout) {
    const auto file = Bmp(295, 412, 24, 888u * 412u);
    const auto view = ParseBmp(file);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->width, 295);
    EXPECT_EQ(view->height, 412);
    EXPECT_FALSE(view->topDown);
    EXPECT_EQ(view->stride, 888u);
    EXPECT_EQ(view->pixelOffset, 54u);

    const auto topDown = ParseBmp(Bmp(2, -3, 32, 8u * 3u));
    ASSERT_TRUE(topDown);
    EXPECT_TRUE(topDown->topDown);
    EXPECT_EQ(topDown->height, 3);
}

TEST(ParseBmp, RefusesFilesWhosePixelsDoNotFit) {
    EXPECT_FALSE(ParseBmp(Bmp(295, 412, 24, 888u * 412u - 1)));  // one byte short
    EXPECT_FALSE(ParseBmp(Bmp(65536, 1, 24, 0)));                 // absurd width
    EXPECT_FALSE(ParseBmp(Bmp(2, 2, 8, 16)));                     // palette images
    EXPECT_FALSE(ParseBmp(Bmp(0, 2, 24, 16)));
    EXPECT_FALSE(ParseBmp(Bmp(2, 0, 24, 16)));
    auto badOffset = Bmp(2, 2, 24, 16);
    badOffset[10] = 0xF0;  // pixel data said to start beyond the end
    EXPECT_FALSE(ParseBmp(badOffset));
    auto compressed = Bmp(2, 2, 24, 16);
    compressed[30] = 1;
    EXPECT_FALSE(ParseBmp(compressed));
    EXPECT_FALSE(ParseBmp({}));
    auto headerOnly = Bmp(2, 2, 24, 16);
    headerOnly.resize(30);
    EXPECT_FALSE(ParseBmp(headerOnly));
}

}  // namespace
