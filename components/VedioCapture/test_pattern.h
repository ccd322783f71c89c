// The synthetic camera's picture: a moving test pattern a test can read back from the screen.
#pragma once

#include "frame.h"

#include <cstdint>

namespace vedio::pattern {

inline constexpr int kWidth = 1280;
inline constexpr int kHeight = 720;
inline constexpr int kFramesPerSecond = 30;

// Draws frame number `frame` into a 24-bit bottom-up DIB of kWidth x kHeight whose rows
// are DibStride(kWidth, 24) apart.
void Draw(std::uint64_t frame, std::uint8_t* pixels);

}  // namespace vedio::pattern
