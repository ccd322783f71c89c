// AdjustBrightness on any bytes: the sanitizers catch reads and writes outside them and
// overflowing arithmetic; the checks below catch a changed length or header, and a pixel
// byte stepped wrongly, twice, or in one direction but not the other.
#include "photo/slot_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    const std::vector<std::uint8_t> brighter = photo::AdjustBrightness(image, photo::Direction::Brighter);
    const std::vector<std::uint8_t> darker = photo::AdjustBrightness(image, photo::Direction::Darker);
    Check(brighter.size() == size && darker.size() == size);
    for (std::size_t i = 0; i < size; ++i) {
        const int value = image[i];
        // Every byte changes in at least one direction, so this tells the pixel bytes.
        const bool pixel = brighter[i] != value || darker[i] != value;
        if (!pixel) continue;
        Check(i >= photo::kBmpHeaderSize);
        Check(brighter[i] == std::min(value + photo::kBrightnessStep, 255));
        Check(darker[i] == std::max(value - photo::kBrightnessStep, 0));
    }
    return 0;
}
