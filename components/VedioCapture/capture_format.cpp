#include "capture_format.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace vedio {

namespace {

constexpr FrameSize kLargest = {1920, 1080};
constexpr double kWideAspect = 16.0 / 9.0;
// Aspects this close count as the same shape: 1366 x 768 is as wide as 1280 x 720.
constexpr double kSameAspect = 0.01;

bool Fits(FrameSize size) {
    return size.width > 0 && size.height > 0 && size.width <= kLargest.width && size.height <= kLargest.height;
}

double AspectDistance(FrameSize size) {
    return std::abs(static_cast<double>(size.width) / size.height - kWideAspect);
}

long long Area(FrameSize size) { return static_cast<long long>(size.width) * size.height; }

bool Smooth(const OfferedFormat& format) {
    return format.framesPerSecond <= 0 || format.framesPerSecond >= kSmoothFramesPerSecond;
}

// Lower is better: smoothness first, then the encoding in the order Encoding lists them.
int Rank(const OfferedFormat& format) {
    return (Smooth(format) ? 0 : 100) + static_cast<int>(format.encoding);
}

}  // namespace

std::optional<FrameSize> ChooseFrameSize(std::span<const FrameSize> offered) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const FrameSize size : offered) {
        if (Fits(size)) nearest = std::min(nearest, AspectDistance(size));
    }
    // Among the sizes as near as the nearest, the largest; the first offered on a tie.
    std::optional<FrameSize> best;
    for (const FrameSize size : offered) {
        if (!Fits(size) || AspectDistance(size) > nearest + kSameAspect) continue;
        if (!best || Area(size) > Area(*best)) best = size;
    }
    return best;
}

std::optional<std::size_t> ChooseDeviceFormat(std::span<const OfferedFormat> offered) {
    std::vector<FrameSize> sizes;
    sizes.reserve(offered.size());
    for (const OfferedFormat& format : offered) sizes.push_back(format.size);
    const std::optional<FrameSize> size = ChooseFrameSize(sizes);
    if (!size) return std::nullopt;
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < offered.size(); ++i) {
        if (offered[i].size != *size) continue;
        if (!best || Rank(offered[i]) < Rank(offered[*best])) best = i;
    }
    return best;
}

SourceFrame DescribeFrame(PixelFormat format, int bitmapWidth, int bitmapHeight) {
    SourceFrame frame;
    frame.format = format;
    frame.width = bitmapWidth > 0 ? bitmapWidth : 0;
    frame.height = bitmapHeight == std::numeric_limits<int>::min() ? 0 : std::abs(bitmapHeight);
    frame.stride = DefaultStride(format, frame.width);
    frame.bottomUp = !IsYuv(format) && bitmapHeight > 0;
    return frame;
}

}  // namespace vedio
