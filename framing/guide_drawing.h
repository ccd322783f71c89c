// The guide as pixels: which pixels of the frame the outline covers. Drawn once per size and
// coloured by whoever shows it.
#pragma once

#include "framing/guide_geometry.h"

#include <cstdint>
#include <vector>

namespace framing {

// The guide's lines are this many pixels thick.
inline constexpr double kGuideLineWidth = 2.0;

// A mask of the frame's pixels, top row first: 1 where the guide's outline lies (the head
// oval, the crown band's marks, the eye band's brackets), 0 elsewhere. A size other than the
// frame's scales the outline with it.
std::vector<std::uint8_t> GuideMask(int width, int height);

// What the guide says under the head while it cannot see the crown.
inline constexpr wchar_t kCrownUnclearText[] = L"看不清头顶";

// The guide's colours, written #RRGGBB: a green and an amber that stand out from skin, hair
// and the usual backgrounds, an amber gone grey, and a mid grey.
constexpr std::uint32_t GuideRgb(GuideColour colour) {
    switch (colour) {
    case GuideColour::Green: return 0x20E040;
    case GuideColour::Amber: return 0xFFB000;
    case GuideColour::Unsure: return 0xC8A860;
    case GuideColour::Grey: return 0xA0A0A0;
    }
    return 0xA0A0A0;
}

}  // namespace framing
