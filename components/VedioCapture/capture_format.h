// Which of a device's offered formats the camera runs at: the frame size first, then, among
// the formats of that size, the encoding; and how a frame of the connected format lies in
// memory.
#pragma once

#include "frame.h"

#include <cstddef>
#include <optional>
#include <span>

namespace vedio {

struct FrameSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(FrameSize, FrameSize) = default;
};

// The largest of the offered sizes up to 1920 x 1080 whose aspect is nearest 16:9, aspects
// within 0.01 of each other counting as the same (1366 x 768 is 16:9); nullopt when none fits.
std::optional<FrameSize> ChooseFrameSize(std::span<const FrameSize> offered);

// How a device encodes the frames of one offered format. The uncompressed ones are
// converted here; Decoded ones (MJPG and anything else) go through the system's decoders.
enum class Encoding { Yuy2, Nv12, I420, Rgb32, Rgb24, Decoded };

constexpr std::optional<PixelFormat> PixelFormatOf(Encoding encoding) {
    switch (encoding) {
    case Encoding::Yuy2: return PixelFormat::Yuy2;
    case Encoding::Nv12: return PixelFormat::Nv12;
    case Encoding::I420: return PixelFormat::I420;
    case Encoding::Rgb32: return PixelFormat::Bgrx32;
    case Encoding::Rgb24: return PixelFormat::Bgr24;
    case Encoding::Decoded: return std::nullopt;
    }
    return std::nullopt;
}

struct OfferedFormat {
    FrameSize size;
    Encoding encoding = Encoding::Decoded;
    double framesPerSecond = 0;  // the most the format delivers; 0 when the device does not say
};

// A preview below this rate looks broken: over USB 2.0 many webcams send 1080p uncompressed
// at only 5 fps, but 30 fps as MJPG.
inline constexpr double kSmoothFramesPerSecond = 15;

// The format to ask the device for, as an index into `offered`; nullopt when no size fits.
// The size is ChooseFrameSize's over all offered formats. Among the formats of that size:
// those smooth enough first (or whose rate is unknown), then YUY2 (full chroma on every
// row, and what most webcams make natively), NV12 and I420 (half the chroma rows, the least
// bytes), RGB32 and RGB24 (as good as the YUV they are usually made from inside the device,
// at twice the bytes), and last the compressed ones (lossy, and a decoder's cost); the
// first offered on a tie.
std::optional<std::size_t> ChooseDeviceFormat(std::span<const OfferedFormat> offered);

// The frame layout of connected video: `bitmapWidth` and `bitmapHeight` as the format's
// bitmap header gives them (a positive height is a bottom-up DIB for RGB; YUV is always
// top-down). Rows have the stride the layout uses when a device states none.
SourceFrame DescribeFrame(PixelFormat format, int bitmapWidth, int bitmapHeight);

}  // namespace vedio
