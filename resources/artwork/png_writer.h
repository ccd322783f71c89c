// A small PNG encoder for the pictures the program draws for itself.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace artwork {

// Pixels are packed as 0xAABBGGRR: on a little-endian machine the four bytes of a
// pixel lie in memory as R, G, B, A, the order PNG stores them in. Colour values are
// straight (not premultiplied) alpha.
constexpr std::uint32_t PackRgba(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                 std::uint8_t a = 0xFF) {
    return std::uint32_t{r} | std::uint32_t{g} << 8 | std::uint32_t{b} << 16 |
           std::uint32_t{a} << 24;
}
constexpr std::uint8_t RedOf(std::uint32_t p) { return static_cast<std::uint8_t>(p); }
constexpr std::uint8_t GreenOf(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t BlueOf(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t AlphaOf(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 24); }

// CRC-32 as PNG and zip use it (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(std::span<const std::uint8_t> data);

// The zlib stream checksum.
std::uint32_t Adler32(std::span<const std::uint8_t> data);

// Encodes a picture given row by row from the top as an 8-bit RGBA, non-interlaced PNG.
// The pixel data goes into uncompressed deflate blocks: the pictures are tiny.
// Throws std::invalid_argument when a size is not positive or does not match `rgba`.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint32_t> rgba);

}  // namespace artwork
