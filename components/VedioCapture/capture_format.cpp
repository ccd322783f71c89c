#include "capture_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

}  // namespace vedio
