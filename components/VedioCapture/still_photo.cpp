#include "still_photo.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <string>

namespace vedio::photo {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

constexpr std::uint8_t kBackground = 128;

}  // namespace

std::optional<StillPhoto> ReadBmp(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeaders = 14 + 40;
    if (data == nullptr || size < kHeaders || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const std::uint32_t offset = Le32(data + 10);
    const std::uint32_t infoSize = Le32(data + 14);
    const auto width = static_cast<std::int32_t>(Le32(data + 18));
    const auto height = static_cast<std::int32_t>(Le32(data + 22));
    if (infoSize < 40 || Le16(data + 26) != 1 || Le16(data + 28) != 24 || Le32(data + 30) != 0) return std::nullopt;
    // Larger than any camera frame is refused too: nothing the tests write is that big.
    if (width <= 0 || width > 8192 || height == 0 || height < -8192 || height > 8192) return std::nullopt;
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (offset < kHeaders || offset > size || (size - offset) / stride < static_cast<std::size_t>(rows))
        return std::nullopt;

    StillPhoto photo;
    photo.width = width;
    photo.height = rows;
    photo.bgr.resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(rows));
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y;
        std::memcpy(photo.bgr.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3,
                    data + offset + static_cast<std::size_t>(stored) * stride, static_cast<std::size_t>(width) * 3);
    }
    return photo;
}

std::optional<Placement> ParsePlacement(std::string_view text) {
    double values[3] = {};
    std::size_t at = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    for (double& value : values) {
        while (at < text.size() && blank(text[at])) ++at;
        std::size_t end = at;
        while (end < text.size() && !blank(text[end])) ++end;
        if (end == at) return std::nullopt;
        // strtod rather than from_chars: MinGW's older runtimes lack the floating-point one.
        const std::string word(text.substr(at, end - at));
        char* stop = nullptr;
        value = std::strtod(word.c_str(), &stop);
        if (stop != word.c_str() + word.size() || !std::isfinite(value)) return std::nullopt;
        at = end;
    }
    while (at < text.size() && blank(text[at])) ++at;
    if (at != text.size() || values[2] < 0.05 || values[2] > 20) return std::nullopt;
    return Placement{values[0], values[1], values[2]};
}

Placement FitWhole(const StillPhoto& photo, int frameWidth, int frameHeight) {
    if (photo.width <= 0 || photo.height <= 0) return {};
    const double scale = std::min(static_cast<double>(frameWidth) / photo.width,
                                  static_cast<double>(frameHeight) / photo.height);
    return {(frameWidth - photo.width * scale) / 2, (frameHeight - photo.height * scale) / 2, scale};
}

void DrawPlaced(const StillPhoto& photo, const Placement& place, std::uint8_t* dib, int frameWidth, int frameHeight,
                std::ptrdiff_t stride) {
    if (photo.width <= 0 || photo.height <= 0) {  // nothing to show: a grey frame
        for (int fy = 0; fy < frameHeight; ++fy)
            std::memset(dib + static_cast<std::ptrdiff_t>(fy) * stride, kBackground, static_cast<std::size_t>(frameWidth) * 3);
        return;
    }
    // Per frame column: the photo column to its left and how far toward the next one (the
    // centre of frame pixel fx shows the photo at (fx + 0.5 - x) / scale - 0.5).
    struct Tap {
        int index;
        int weight;  // of the next column, in 1/256
        bool inside;
    };
    auto taps = [&place](int count, double origin, int limit) {
        std::vector<Tap> out(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const double at = (i + 0.5 - origin) / place.scale - 0.5;
            const bool inside = at > -1 && at < limit;  // nearer than one pixel from the photo
            const double clamped = std::clamp(at, 0.0, static_cast<double>(limit - 1));
            const int index = std::min(static_cast<int>(clamped), limit - 1);
            const int weight = index + 1 < limit ? static_cast<int>((clamped - index) * 256) : 0;
            out[static_cast<std::size_t>(i)] = {index, weight, inside};
        }
        return out;
    };
    const auto columns = taps(frameWidth, place.x, photo.width);
    const auto rows = taps(frameHeight, place.y, photo.height);
    const std::size_t photoStride = static_cast<std::size_t>(photo.width) * 3;
    for (int fy = 0; fy < frameHeight; ++fy) {
        std::uint8_t* out = dib + static_cast<std::ptrdiff_t>(frameHeight - 1 - fy) * stride;
        const Tap r = rows[static_cast<std::size_t>(fy)];
        if (!r.inside) {
            std::memset(out, kBackground, static_cast<std::size_t>(frameWidth) * 3);
            continue;
        }
        const std::uint8_t* top = photo.bgr.data() + static_cast<std::size_t>(r.index) * photoStride;
        const std::uint8_t* bottom = r.weight > 0 ? top + photoStride : top;
        for (int fx = 0; fx < frameWidth; ++fx, out += 3) {
            const Tap c = columns[static_cast<std::size_t>(fx)];
            if (!c.inside) {
                out[0] = out[1] = out[2] = kBackground;
                continue;
            }
            const std::size_t left = static_cast<std::size_t>(c.index) * 3;
            const std::size_t right = c.weight > 0 ? left + 3 : left;
            for (int k = 0; k < 3; ++k) {
                const int upper = top[left + k] * (256 - c.weight) + top[right + k] * c.weight;
                const int lower = bottom[left + k] * (256 - c.weight) + bottom[right + k] * c.weight;
                out[k] = static_cast<std::uint8_t>((upper * (256 - r.weight) + lower * r.weight + 32768) >> 16);
            }
        }
    }
}

}  // namespace vedio::photo
