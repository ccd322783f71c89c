// The synthetic camera's picture: a moving test pattern a test can read back from the screen.
// Colour bars fill the picture; a head-and-shoulders figure sways in the middle and a frame
// counter sits bottom left. Outside the figure's and the counter's areas the bars never change.
// Coordinates are picture coordinates: x to the right, y downwards from the top row.
#pragma once

#include "frame.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vedio::pattern {

inline constexpr int kWidth = 1280;
inline constexpr int kHeight = 720;
inline constexpr int kFramesPerSecond = 30;
inline constexpr std::ptrdiff_t kStride = DibStride(kWidth, 24);

// Eight full-height vertical bars, left to right, as 0xRRGGBB.
inline constexpr int kBarWidth = 160;
inline constexpr std::array<std::uint32_t, 8> kBarColours = {
    0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF, 0x404040,
};

// The bar colour (0xRRGGBB) at column x, 0 <= x < kWidth.
constexpr std::uint32_t BarColourAt(int x) { return kBarColours[static_cast<std::size_t>(x / kBarWidth)]; }

// A rectangle [left, right) x [top, bottom).
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Everything the swaying figure ever covers.
inline constexpr Area kFigureArea = {440, 150, 840, 720};
// The frame counter's box: the frame number modulo 10^kCounterDigits, zero-padded, in
// white seven-segment digits kDigitHeight pixels high on black.
inline constexpr Area kCounterArea = {0, 620, 300, 720};
inline constexpr int kCounterDigits = 6;
inline constexpr int kDigitHeight = 48;

// The figure: a skin-tone head over dark shoulders, centred at x = kWidth / 2 + FigureOffset.
inline constexpr std::uint32_t kSkinColour = 0xE8B894;
inline constexpr std::uint32_t kClothesColour = 0x283848;
inline constexpr int kSwayAmplitude = 40;
inline constexpr int kSwayPeriodFrames = 2 * kFramesPerSecond;

// round(kSwayAmplitude * sin(2 pi frame / kSwayPeriodFrames)).
int FigureOffset(std::uint64_t frame);

// Draws frame number `frame` into a 24-bit bottom-up DIB of kWidth x kHeight whose rows
// are kStride (DibStride(kWidth, 24)) apart.
void Draw(std::uint64_t frame, std::uint8_t* pixels);

}  // namespace vedio::pattern
