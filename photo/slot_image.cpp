#include "photo/slot_image.h"

namespace photo {

std::size_t BmpStride(int width) { return width > 0 ? ((24u * static_cast<std::size_t>(width) + 31) / 32) * 4 : 0; }

std::vector<std::uint8_t> MakeSlotImage(int, int, std::span<const std::uint8_t>, std::size_t) { return {}; }

std::vector<std::uint8_t> AdjustBrightness(std::span<const std::uint8_t>, Direction) { return {}; }

}  // namespace photo
