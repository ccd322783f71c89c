#include "camera_pattern.h"

#include <algorithm>
#include <vector>

namespace vcam {

namespace {

constexpr int Even(long long value) { return static_cast<int>(value & ~1LL); }

// Picture rows [first, last) as `format` into `out`; both even.
void EncodeRows(PixelFormat format, FrameSize size, std::uint64_t frame, std::uint8_t* out, int first, int last) {
    const int w = size.width;
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(w));
    for (int y = first; y < last; ++y) {
        for (int x = 0; x < w; ++x) rgb[static_cast<std::size_t>(x)] = ColourAt(size, frame, x, y);
        switch (format) {
        case PixelFormat::Yuy2: {
            std::uint8_t* row = out + static_cast<std::size_t>(y) * w * 2;
            for (int x = 0; x + 1 < w; x += 2) {
                const Yuv a = ToYuv(rgb[static_cast<std::size_t>(x)]);
                const Yuv b = ToYuv(rgb[static_cast<std::size_t>(x + 1)]);
                row[2 * x] = a.y;
                row[2 * x + 1] = a.u;
                row[2 * x + 2] = b.y;
                row[2 * x + 3] = a.v;
            }
            break;
        }
        case PixelFormat::Nv12: {
            std::uint8_t* luma = out + static_cast<std::size_t>(y) * w;
            std::uint8_t* chroma = out + static_cast<std::size_t>(w) * size.height + static_cast<std::size_t>(y / 2) * w;
            for (int x = 0; x < w; ++x) {
                const Yuv c = ToYuv(rgb[static_cast<std::size_t>(x)]);
                luma[x] = c.y;
                // The block's colour comes from its top-left pixel: edges lie on even places.
                if (y % 2 == 0 && x % 2 == 0) {
                    chroma[x] = c.u;
                    chroma[x + 1] = c.v;
                }
            }
            break;
        }
        case PixelFormat::Rgb24: {
            const std::size_t stride = FrameBytes(format, {w, 1});
            std::uint8_t* row = out + static_cast<std::size_t>(size.height - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = rgb[static_cast<std::size_t>(x)];
                row[3 * x] = static_cast<std::uint8_t>(c);
                row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
            }
            break;
        }
        }
    }
}

}  // namespace

std::string_view FormatName(PixelFormat format) {
    switch (format) {
    case PixelFormat::Yuy2: return "YUY2";
    case PixelFormat::Nv12: return "NV12";
    case PixelFormat::Rgb24: return "RGB24";
    }
    return "";
}

std::optional<PixelFormat> FormatNamed(std::string_view name) {
    for (const PixelFormat format : kPixelFormats) {
        if (FormatName(format) == name) return format;
    }
    return std::nullopt;
}

int BitsPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Yuy2: return 16;
    case PixelFormat::Nv12: return 12;
    case PixelFormat::Rgb24: return 24;
    }
    return 0;
}

std::size_t FrameBytes(PixelFormat format, FrameSize size) {
    const auto w = static_cast<std::size_t>(size.width);
    const auto h = static_cast<std::size_t>(size.height);
    switch (format) {
    case PixelFormat::Yuy2: return w * h * 2;
    case PixelFormat::Nv12: return w * h * 3 / 2;
    case PixelFormat::Rgb24: return ((w * 24 + 31) / 32) * 4 * h;
    }
    return 0;
}

Box MarkerBox(FrameSize size) {
    const int left = Even(size.width * 3LL / 8);
    const int top = Even(size.height / 4LL);
    const int side = Even(size.width / 16LL);
    return {left, top, left + side, top + side};
}

Box TrackBox(FrameSize size) {
    return {Even(size.width * 3LL / 8), Even(size.height * 3LL / 4), Even(size.width * 5LL / 8),
            Even(size.height * 13LL / 16)};
}

Box BlockBox(FrameSize size, std::uint64_t frame) {
    const Box track = TrackBox(size);
    const int side = track.bottom - track.top;
    const int step = Even(std::max(2, size.width / 160));
    const int places = std::max(1, (track.right - track.left - side) / step + 1);
    const int left = track.left + static_cast<int>(frame % static_cast<std::uint64_t>(places)) * step;
    return {left, track.top, left + side, track.bottom};
}

std::uint32_t ColourAt(FrameSize size, std::uint64_t frame, int x, int y) {
    if (BlockBox(size, frame).Contains(x, y)) return kBlock;
    if (TrackBox(size).Contains(x, y)) return kTrack;
    if (MarkerBox(size).Contains(x, y)) return kMarker;
    const bool left = x < size.width / 2;
    const bool top = y < size.height / 2;
    if (top) return left ? kTopLeft : kTopRight;
    return left ? kBottomLeft : kBottomRight;
}

Yuv ToYuv(std::uint32_t rgb) {
    const int r = static_cast<int>((rgb >> 16) & 0xFF);
    const int g = static_cast<int>((rgb >> 8) & 0xFF);
    const int b = static_cast<int>(rgb & 0xFF);
    // Rounded, then shifted: the right shift of a negative sum rounds toward minus infinity,
    // as the usual integer form of these equations does.
    return {static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16),
            static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128),
            static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128)};
}

void DrawFrame(PixelFormat format, FrameSize size, std::uint64_t frame, std::uint8_t* out) {
    EncodeRows(format, size, frame, out, 0, size.height);
}

void DrawMovingPart(PixelFormat format, FrameSize size, std::uint64_t frame, std::uint8_t* out) {
    const Box track = TrackBox(size);
    EncodeRows(format, size, frame, out, track.top, track.bottom);
}

}  // namespace vcam
