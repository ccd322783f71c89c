// Frames on their way from a capture device to the preview window: what a device delivers
// and what is drawn. Portable, so conversion and scaling are tested and timed natively.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vedio {

// Pixel layouts a device delivers, both in DIB byte order: blue, green, red (, unused).
enum class PixelFormat { Bgr24, Bgrx32 };

constexpr int BytesPerPixel(PixelFormat format) { return format == PixelFormat::Bgr24 ? 3 : 4; }

// Bytes of one DIB row: padded to a multiple of four.
constexpr std::ptrdiff_t DibStride(int width, int bitsPerPixel) {
    return ((static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// A frame as a device delivers it. Rows lie `stride` bytes apart in memory; when
// `bottomUp` the first row in memory is the bottom row of the picture (a DIB).
struct SourceFrame {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    PixelFormat format = PixelFormat::Bgr24;
    bool bottomUp = true;
};

// The picture as drawn: 32-bit blue, green, red, unused; top row first.
struct TargetImage {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

}  // namespace vedio
