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

// The best size up to 1920 x 1080 whose aspect is nearest 16:9; nullopt when none fits.
std::optional<FrameSize> ChooseFrameSize(std::span<const FrameSize> offered);

}  // namespace vedio
