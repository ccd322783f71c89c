// Which of a device's offered frame sizes the camera runs at.
#pragma once

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

}  // namespace vedio
