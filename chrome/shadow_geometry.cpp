#include "chrome/shadow_geometry.h"

#include <algorithm>
#include <limits>

namespace chrome {

int ShadowOpacityStep(int size) {
    if (size < 1) return 0;
    return size <= 8 ? 100 / size : 150 / size;
}

int OutlineAlpha(int outline, int size) {
    if (outline < 1 || outline > size) return 0;
    return ShadowOpacityStep(size) * outline;  // at most 150: step × i never exceeds the numerator
}

std::optional<ShadowPlacement> PlaceShadow(int ownerLeft, int ownerTop, int ownerRight, int ownerBottom, int size) {
    // In 64 bits: an owner near the coordinate limits or a huge size must not wrap around.
    const std::int64_t width = std::int64_t{ownerRight} - ownerLeft;
    const std::int64_t height = std::int64_t{ownerBottom} - ownerTop;
    if (width <= 0 || height <= 0 || size < 1) return std::nullopt;

    const std::int64_t margin = size;
    const std::int64_t left = ownerLeft - margin;
    const std::int64_t top = ownerTop - margin;
    const std::int64_t pictureWidth = width + 2 * margin;
    const std::int64_t pictureHeight = height + 2 * margin;

    constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (left < kIntMin || top < kIntMin || pictureWidth > kIntMax || pictureHeight > kIntMax) return std::nullopt;
    // A DIB header states its byte count in 32 bits; bigger pictures cannot be made anyway.
    if (pictureWidth * pictureHeight > kIntMax / 4) return std::nullopt;

    return ShadowPlacement{static_cast<int>(left), static_cast<int>(top), static_cast<int>(pictureWidth),
                           static_cast<int>(pictureHeight)};
}

OutlineRect ShadowOutline(int outline, int pictureWidth, int pictureHeight) {
    const float inset = static_cast<float>(outline - 1);
    return {inset, inset, static_cast<float>(pictureWidth - 2 * outline + 1),
            static_cast<float>(pictureHeight - 2 * outline + 1)};
}

float CornerDiameter(int radius, float width, float height) {
    if (radius <= 0) return 0;
    const float diameter = 2.0f * static_cast<float>(std::min(radius, kShadowCornerRadiusLimit));
    return std::max(0.0f, std::min({diameter, width, height}));
}

std::uint32_t ColorRefToArgb(std::uint32_t colour, int alpha) {
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    return a << 24 | red << 16 | green << 8 | blue;
}

}  // namespace chrome
