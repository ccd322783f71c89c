// A slot image: the complete bytes of a 24-bit bottom-up BMP file, pixel rows at offset 54.
// Building one from captured pixels, and brightening or darkening one. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace photo {

enum class Direction { Brighter = 1, Darker = 2 };

inline constexpr std::size_t kBmpHeaderSize = 54;
inline constexpr int kBrightnessStep = 10;

// Bytes of one stored row: three per pixel, padded to a multiple of four.
std::size_t BmpStride(int width);

// The slot image of a width x height picture given as 32-bit blue, green, red, unused
// pixels, top row first, rows `sourceStride` bytes apart. Empty when the sizes do not fit
// the pixels.
std::vector<std::uint8_t> MakeSlotImage(int width, int height, std::span<const std::uint8_t> bgrxTopDown,
                                        std::size_t sourceStride);

// Every colour byte 10 brighter or darker, saturating at 255 and 0; the header and the row
// padding untouched. Returns a new image of the same length and never reads or writes
// outside `image`, whatever its header claims: rows it places before the pixels or past the
// end are cut to the bytes there are, and a byte that overlapping rows share changes once.
// An empty image gives an empty one.
std::vector<std::uint8_t> AdjustBrightness(std::span<const std::uint8_t> image, Direction direction);

}  // namespace photo
