// The virtual camera's picture, in every pixel format it delivers. Four coloured quadrants
// meet in the middle of the picture, a white marker square sits in the upper-left quadrant
// and a white block moves along a track below the middle, one step a frame. Everything is
// placed in fractions of the frame size on even coordinates, so the 2 x 2 colour blocks of
// NV12 and the pixel pairs of YUY2 never straddle an edge and each size shows the same
// picture. Portable: the tests read the expected colours from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vcam {

enum class PixelFormat { Yuy2, Nv12, Rgb24 };
inline constexpr std::array<PixelFormat, 3> kPixelFormats = {PixelFormat::Yuy2, PixelFormat::Nv12, PixelFormat::Rgb24};

struct FrameSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(FrameSize, FrameSize) = default;
};
inline constexpr std::array<FrameSize, 3> kFrameSizes = {{{640, 480}, {1280, 720}, {1920, 1080}}};
inline constexpr int kFramesPerSecond = 30;

std::string_view FormatName(PixelFormat format);  // "YUY2", "NV12", "RGB24"
std::optional<PixelFormat> FormatNamed(std::string_view name);
int BitsPerPixel(PixelFormat format);
// Bytes of one frame; RGB24 rows are padded to four bytes as in a DIB.
std::size_t FrameBytes(PixelFormat format, FrameSize size);

// The colours, as 0xRRGGBB. Not at full strength, so that the limited-range YUV of each
// stays clear of the clipping ends and comes back within a step or two.
inline constexpr std::uint32_t kTopLeft = 0xD03030;      // red
inline constexpr std::uint32_t kTopRight = 0x3050D0;     // blue
inline constexpr std::uint32_t kBottomLeft = 0x30B040;   // green
inline constexpr std::uint32_t kBottomRight = 0xD0C030;  // yellow
inline constexpr std::uint32_t kMarker = 0xF0F0F0;
inline constexpr std::uint32_t kTrack = 0x202020;
inline constexpr std::uint32_t kBlock = 0xF0F0F0;

// A rectangle [left, right) x [top, bottom) in picture coordinates (top row is y = 0).
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The marker square: its top-left corner at (3/8, 1/4) of the frame, 1/16 of the width wide.
Box MarkerBox(FrameSize size);
// The track the block moves along, and the block in frame number `frame`.
Box TrackBox(FrameSize size);
Box BlockBox(FrameSize size, std::uint64_t frame);

// The colour of the picture at (x, y) in frame number `frame`, as 0xRRGGBB.
std::uint32_t ColourAt(FrameSize size, std::uint64_t frame, int x, int y);

// BT.601 limited range, as webcams deliver it: Y 16..235, U and V 16..240.
struct Yuv {
    std::uint8_t y = 0;
    std::uint8_t u = 0;
    std::uint8_t v = 0;
};
Yuv ToYuv(std::uint32_t rgb);

// Writes frame number `frame` into `out`, FrameBytes(format, size) bytes: YUY2 and NV12
// top row first, RGB24 as a bottom-up DIB (blue, green, red).
void DrawFrame(PixelFormat format, FrameSize size, std::uint64_t frame, std::uint8_t* out);
// Turns a frame drawn before into frame number `frame`: only the track's rows change.
void DrawMovingPart(PixelFormat format, FrameSize size, std::uint64_t frame, std::uint8_t* out);

}  // namespace vcam
