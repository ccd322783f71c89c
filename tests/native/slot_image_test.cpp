#include "photo/slot_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace photo {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
std::uint16_t U16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void PutI32(Bytes& bytes, std::size_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// Blue from the column, green from the row, red from both; the fourth byte is junk that must
// not reach the image.
Bytes Bgrx(int width, int height, std::size_t stride) {
    Bytes pixels(stride * static_cast<std::size_t>(height), 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * stride + 4 * static_cast<std::size_t>(x)];
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(100 + y);
            p[2] = static_cast<std::uint8_t>(200 + x + y);
        }
    }
    return pixels;
}

Bytes TestImage(int width, int height) {
    const std::size_t stride = 4 * static_cast<std::size_t>(width);
    return MakeSlotImage(width, height, Bgrx(width, height, stride), stride);
}

Bytes Pressed(Bytes image, Direction direction, int presses) {
    for (int i = 0; i < presses; ++i) image = AdjustBrightness(image, direction);
    return image;
}

TEST(SlotImage, CaptureSizedImageHeader) {
    const Bytes image = TestImage(295, 412);
    EXPECT_EQ(BmpStride(295), 888u);
    ASSERT_EQ(image.size(), 365910u);
    EXPECT_EQ(image[0], 'B');
    EXPECT_EQ(image[1], 'M');
    EXPECT_EQ(U32(image, 2), 365910u);
    EXPECT_EQ(U32(image, 6), 0u);
    EXPECT_EQ(U32(image, 10), 54u);
    EXPECT_EQ(U32(image, 14), 40u);
    EXPECT_EQ(U32(image, 18), 295u);
    EXPECT_EQ(U32(image, 22), 412u);  // positive: bottom-up
    EXPECT_EQ(U16(image, 26), 1u);
    EXPECT_EQ(U16(image, 28), 24u);
    EXPECT_EQ(U32(image, 30), 0u);
    EXPECT_EQ(U32(image, 34), 365856u);
    for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(U32(image, at), 0u) << "at " << at;
}

TEST(SlotImage, StrideIsThreeBytesAPixelRoundedUpToFour) {
    const std::size_t expected[] = {0, 4, 8, 12, 12, 16, 20, 24, 24};
    for (int width = 0; width <= 8; ++width) EXPECT_EQ(BmpStride(width), expected[width]) << width;
    EXPECT_EQ(BmpStride(-3), 0u);
}

TEST(SlotImage, BottomRowFirstInBlueGreenRedOrderWithZeroPadding) {
    // Source rows padded past their pixels, padding full of junk.
    const Bytes image = MakeSlotImage(3, 2, Bgrx(3, 2, 20), 20);
    const Bytes expected = {
        0, 101, 201, 1, 101, 202, 2, 101, 203, 0, 0, 0,  // bottom row (y = 1) first
        0, 100, 200, 1, 100, 201, 2, 100, 202, 0, 0, 0,
    };
    ASSERT_EQ(image.size(), kBmpHeaderSize + expected.size());
    EXPECT_EQ(Bytes(image.begin() + kBmpHeaderSize, image.end()), expected);

    const Bytes wide = TestImage(295, 412);
    for (std::size_t row = 0; row < 412; ++row) {
        const std::size_t pad = kBmpHeaderSize + row * 888 + 885;
        EXPECT_EQ(Bytes(wide.begin() + pad, wide.begin() + pad + 3), Bytes(3, 0)) << "row " << row;
    }
}

TEST(SlotImage, RefusesSizesThatDoNotFitThePixels) {
    const Bytes pixels = Bgrx(4, 3, 16);
    EXPECT_TRUE(MakeSlotImage(0, 3, pixels, 16).empty());
    EXPECT_TRUE(MakeSlotImage(-4, 3, pixels, 16).empty());
    EXPECT_TRUE(MakeSlotImage(4, 0, pixels, 16).empty());
    EXPECT_TRUE(MakeSlotImage(4, -3, pixels, 16).empty());
    EXPECT_TRUE(MakeSlotImage(4, 3, {}, 16).empty());
    EXPECT_TRUE(MakeSlotImage(4, 3, {pixels.data(), pixels.size() - 1}, 16).empty());
    EXPECT_TRUE(MakeSlotImage(4, 3, pixels, 12).empty());  // rows would overlap
    EXPECT_TRUE(MakeSlotImage(4, 3, pixels, std::numeric_limits<std::size_t>::max()).empty());
    EXPECT_TRUE(MakeSlotImage(std::numeric_limits<int>::max(), 1, pixels, 16).empty());
    // The last row needs no padding after its pixels.
    const Bytes padded = Bgrx(4, 3, 20);
    EXPECT_EQ(MakeSlotImage(4, 3, {padded.data(), 2 * 20 + 16}, 20).size(), kBmpHeaderSize + 36);
}

TEST(SlotBrightness, StepsTenAndSaturates) {
    Bytes pixels = {250, 5, 128, 0};  // blue, green, red
    const Bytes image = MakeSlotImage(1, 1, pixels, 4);
    const Bytes brighter = AdjustBrightness(image, Direction::Brighter);
    EXPECT_EQ(Bytes(brighter.begin() + 54, brighter.begin() + 57), (Bytes{255, 15, 138}));
    const Bytes back = AdjustBrightness(brighter, Direction::Darker);
    EXPECT_EQ(Bytes(back.begin() + 54, back.begin() + 57), (Bytes{245, 5, 128}));
    const Bytes darker = AdjustBrightness(image, Direction::Darker);
    EXPECT_EQ(Bytes(darker.begin() + 54, darker.begin() + 57), (Bytes{240, 0, 118}));

    // Both ends of both directions.
    const Bytes edges = MakeSlotImage(4, 1, Bytes{0, 9, 10, 0, 11, 244, 245, 0, 246, 254, 255, 0, 1, 128, 20, 0}, 16);
    const Bytes up = AdjustBrightness(edges, Direction::Brighter);
    EXPECT_EQ(Bytes(up.begin() + 54, up.begin() + 66), (Bytes{10, 19, 20, 21, 254, 255, 255, 255, 255, 11, 138, 30}));
    const Bytes down = AdjustBrightness(edges, Direction::Darker);
    EXPECT_EQ(Bytes(down.begin() + 54, down.begin() + 66), (Bytes{0, 0, 0, 1, 234, 235, 236, 244, 245, 0, 118, 10}));
}

TEST(SlotBrightness, ManyPressesReachBlackOrWhiteAndKeepHeaderAndPadding) {
    Bytes image = TestImage(295, 412);
    for (std::size_t row = 0; row < 412; ++row) {
        for (std::size_t pad = 885; pad < 888; ++pad) image[54 + row * 888 + pad] = 0x80;
    }
    for (const auto& [direction, colour] : {std::pair{Direction::Darker, 0}, std::pair{Direction::Brighter, 255}}) {
        const Bytes pressed = Pressed(image, direction, 26);
        ASSERT_EQ(pressed.size(), image.size());
        EXPECT_EQ(Bytes(pressed.begin(), pressed.begin() + 54), Bytes(image.begin(), image.begin() + 54));
        for (std::size_t row = 0; row < 412; ++row) {
            const auto start = pressed.begin() + 54 + static_cast<std::ptrdiff_t>(row * 888);
            ASSERT_EQ(Bytes(start, start + 885), Bytes(885, static_cast<std::uint8_t>(colour))) << "row " << row;
            ASSERT_EQ(Bytes(start + 885, start + 888), Bytes(3, 0x80)) << "row " << row;
        }
    }
}

TEST(SlotBrightness, LeavesItsInputAloneAndEmptyStaysEmpty) {
    const Bytes image = TestImage(7, 5);
    const Bytes before = image;
    EXPECT_EQ(AdjustBrightness(image, Direction::Brighter).size(), image.size());
    EXPECT_EQ(image, before);
    EXPECT_TRUE(AdjustBrightness({}, Direction::Brighter).empty());
    EXPECT_TRUE(AdjustBrightness({}, Direction::Darker).empty());
}

// Pixel bytes that a step always changes, so changed and untouched bytes are told apart.
Bytes ImageWithHeader(std::size_t pixelBytes, std::int32_t width, std::int32_t height, std::int32_t imageSize) {
    Bytes image(54 + pixelBytes);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(20 + i * 37 % 200);
    PutI32(image, 18, width);
    PutI32(image, 22, height);
    PutI32(image, 34, imageSize);
    return image;
}

// `image` with the bytes from `first` to `last` (offsets in the file) one step darker.
Bytes DarkerBetween(Bytes image, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) image[i] = static_cast<std::uint8_t>(image[i] - 10);
    return image;
}

TEST(SlotBrightness, TruncatedImageChangesTheBytesItStillHas) {
    const Bytes image = TestImage(5, 3);
    for (const Direction direction : {Direction::Brighter, Direction::Darker}) {
        const Bytes whole = AdjustBrightness(image, direction);
        for (std::size_t length = 0; length <= image.size(); ++length) {
            EXPECT_EQ(AdjustBrightness({image.data(), length}, direction), Bytes(whole.begin(), whole.begin() + length))
                << "cut at " << length;
        }
    }
}

TEST(SlotBrightness, HeaderClaimsBeyondTheBytesAreClipped) {
    // Rows overlapping (stride 6 < 12 bytes of pixels) change each byte once.
    Bytes image = ImageWithHeader(40, 4, 3, 18);
    EXPECT_EQ(AdjustBrightness(image, Direction::Darker), DarkerBetween(image, 54, 54 + 2 * 6 + 12));
    // Image size too small for one row, or negative: every row lies on the first.
    image = ImageWithHeader(40, 4, 3, 0);
    EXPECT_EQ(AdjustBrightness(image, Direction::Darker), DarkerBetween(image, 54, 66));
    image = ImageWithHeader(40, 4, 3, -36);
    EXPECT_EQ(AdjustBrightness(image, Direction::Darker), DarkerBetween(image, 54, 66));
    // Rows or width past the end: up to the end and no further; rows keep their padding.
    image = ImageWithHeader(40, 4, 1000, 16000);
    EXPECT_EQ(AdjustBrightness(image, Direction::Darker),
              DarkerBetween(DarkerBetween(DarkerBetween(image, 54, 66), 70, 82), 86, 94));
    image = ImageWithHeader(40, std::numeric_limits<std::int32_t>::max(), 1, 0);
    EXPECT_EQ(AdjustBrightness(image, Direction::Darker), DarkerBetween(image, 54, 94));
    // No rows or no pixels: nothing changes.
    for (const auto& [width, height] : {std::pair{4, 0}, std::pair{0, 3}, std::pair{-4, 3}, std::pair{4, -3}}) {
        image = ImageWithHeader(40, width, height, 48);
        EXPECT_EQ(AdjustBrightness(image, Direction::Darker), image) << width << " x " << height;
    }
}

TEST(SlotBrightness, AnyHeaderKeepsLengthAndHeaderAndStepsBytesAtMostOnce) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t values[] = {kMin, kMin + 1, -888, -1, 0, 1, 2, 5, 295, 412, 888, 365856, kMax - 1, kMax};
    for (const std::int32_t width : values) {
        for (const std::int32_t height : values) {
            for (const std::int32_t imageSize : values) {
                const Bytes image = ImageWithHeader(150, width, height, imageSize);
                const Bytes darker = AdjustBrightness(image, Direction::Darker);
                ASSERT_EQ(darker.size(), image.size());
                for (std::size_t i = 0; i < image.size(); ++i) {
                    const bool untouched = darker[i] == image[i];
                    ASSERT_TRUE(untouched || (i >= 54 && darker[i] == image[i] - 10))
                        << "byte " << i << " of " << width << " x " << height << ", size " << imageSize;
                }
            }
        }
    }
}

}  // namespace
}  // namespace photo
