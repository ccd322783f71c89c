// Frames on their way from a capture device to the preview window: what a device delivers
// and what is drawn. Portable, so conversion and scaling are tested and timed natively.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vedio {

// Pixel layouts a device delivers.
//  Bgr24, Bgrx32: DIB byte order, blue, green, red (, unused).
//  Yuy2: 4:2:2 packed, Y0 U Y1 V for each pair of pixels.
//  Nv12: 4:2:0, the luma plane, then one plane of U V pairs with the luma's stride.
//  I420: 4:2:0, the luma plane, then the U plane and the V plane, each with half the
//        luma's stride (rounded up).
// The YUV layouts carry BT.601 limited-range samples (luma 16..235, chroma 16..240), as
// webcams send them. Chroma covers two pixels across (and two rows down for 4:2:0); an odd
// width or height has a last chroma sample that covers one.
enum class PixelFormat { Bgr24, Bgrx32, Yuy2, Nv12, I420 };

constexpr bool IsYuv(PixelFormat format) {
    return format == PixelFormat::Yuy2 || format == PixelFormat::Nv12 || format == PixelFormat::I420;
}

// Bytes per pixel in the first plane: 3 and 4 for RGB, 2 for YUY2, 1 for the luma plane.
constexpr int BytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bgr24: return 3;
    case PixelFormat::Bgrx32: return 4;
    case PixelFormat::Yuy2: return 2;
    case PixelFormat::Nv12:
    case PixelFormat::I420: return 1;
    }
    return 4;
}

// Bits per pixel over all planes, as a device describes the format.
constexpr int BitsPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bgr24: return 24;
    case PixelFormat::Bgrx32: return 32;
    case PixelFormat::Yuy2: return 16;
    case PixelFormat::Nv12:
    case PixelFormat::I420: return 12;
    }
    return 32;
}

// Bytes of one DIB row: padded to a multiple of four.
constexpr std::ptrdiff_t DibStride(int width, int bitsPerPixel) {
    return ((static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

constexpr int ChromaWidth(int width) { return (width + 1) / 2; }
constexpr int ChromaHeight(int height) { return (height + 1) / 2; }

// The shortest stride a layout allows: a YUY2 row ends on a whole pair, and NV12's chroma
// rows, which share the luma's stride, hold a whole U V pair for an odd last pixel.
constexpr std::ptrdiff_t RowBytes(PixelFormat format, int width) {
    if (format == PixelFormat::Yuy2) return 4 * static_cast<std::ptrdiff_t>(ChromaWidth(width));
    if (format == PixelFormat::Nv12) return 2 * static_cast<std::ptrdiff_t>(ChromaWidth(width));
    return static_cast<std::ptrdiff_t>(width) * BytesPerPixel(format);
}

// The stride a device uses when it states none: DIB rows (multiples of four bytes) for
// RGB, and rows as long as the samples for YUV (webcams' widths are even, so four-aligned).
constexpr std::ptrdiff_t DefaultStride(PixelFormat format, int width) {
    return IsYuv(format) ? RowBytes(format, width) : DibStride(width, BitsPerPixel(format));
}

// The stride of I420's U and V planes: half the luma's, rounded up.
constexpr std::ptrdiff_t I420ChromaStride(std::ptrdiff_t stride) { return (stride + 1) / 2; }

// The bytes a whole frame of this layout occupies: the planes one after the other.
constexpr std::ptrdiff_t FrameBytes(PixelFormat format, int height, std::ptrdiff_t stride) {
    const std::ptrdiff_t luma = stride * height;
    switch (format) {
    case PixelFormat::Nv12: return luma + stride * ChromaHeight(height);
    case PixelFormat::I420: return luma + 2 * I420ChromaStride(stride) * ChromaHeight(height);
    default: return luma;
    }
}

// A frame as a device delivers it. Rows lie `stride` bytes apart in memory (the luma
// plane's for planar layouts). When `bottomUp` the first row in memory is the bottom row of
// the picture (an RGB DIB); YUV layouts are top-down whatever the flag says.
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
