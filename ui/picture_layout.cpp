#include "ui/picture_layout.h"

#include <cstdlib>
#include <limits>

namespace ui {

Rect CentredPlacement(int w, int h, int areaW, int areaH) {
    if (w <= 0 || h <= 0 || areaW <= 0 || areaH <= 0) return {0, 0, 0, 0};
    int drawnW = w;
    int drawnH = h;
    if (w > areaW || h > areaH) {
        const double sx = static_cast<double>(areaW) / w;
        const double sy = static_cast<double>(areaH) / h;
        const double s = sx < sy ? sx : sy;
        drawnW = static_cast<int>(w * s);
        drawnH = static_cast<int>(h * s);
    }
    return {(areaW - drawnW) / 2, (areaH - drawnH) / 2, drawnW, drawnH};
}

namespace {
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
}  // namespace

std::optional<BmpView> ParseBmp(std::span<const std::uint8_t> file) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::size_t kInfoHeader = 40;
    if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const std::uint32_t infoSize = U32(file, 14);
    if (infoSize < kInfoHeader || infoSize > file.size() - kFileHeader) return std::nullopt;

    const auto width = static_cast<std::int32_t>(U32(file, 18));
    const auto height = static_cast<std::int32_t>(U32(file, 22));
    const std::uint16_t bits = U16(file, 28);
    const std::uint32_t compression = U32(file, 30);
    const std::uint32_t offset = U32(file, 10);
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
    if ((bits != 24 && bits != 32) || compression != 0) return std::nullopt;
    if (width > 65535 || std::abs(height) > 65535) return std::nullopt;

    BmpView view;
    view.width = width;
    view.height = std::abs(height);
    view.topDown = height < 0;
    view.bitsPerPixel = bits;
    view.pixelOffset = offset;
    view.stride = ((static_cast<std::size_t>(bits) * static_cast<std::size_t>(width) + 31) / 32) * 4;
    if (offset < kFileHeader + infoSize || offset > file.size()) return std::nullopt;
    if (view.stride * static_cast<std::size_t>(view.height) > file.size() - offset) return std::nullopt;
    return view;
}

}  // namespace ui
