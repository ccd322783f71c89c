// YUV camera rows to 32-bit blue, green, red, 0xFF: BT.601 limited range, each chroma
// sample used as it is for the pixels it covers (the preview is scaled after this, so
// interpolating chroma would not show).
#pragma once

#include "frame.h"

#include <array>
#include <cstdint>

namespace vedio {

// The colour of one YUV sample, {blue, green, red}, in the exact fixed-point arithmetic
// every row converter here uses: each coefficient times 2^13, each product truncated to
// 1/32 of a level, the sum rounded and clamped to 0..255.
std::array<std::uint8_t, 3> YuvToBgr(int y, int u, int v);

// Converts picture row `row` (top row 0) of a YUV `frame` into `width` BGRX pixels at `out`.
// Reads only the bytes the frame's layout gives that row, odd widths included.
void ConvertYuvRow(const SourceFrame& frame, int row, std::uint8_t* out);

// The same one sample at a time: the reference the vector path must match, and what it
// falls back on for a row's last few pixels.
void ConvertYuvRowScalar(const SourceFrame& frame, int row, std::uint8_t* out);

}  // namespace vedio
