// A small animated GIF encoder for the help illustrations: one palette of the animation's
// most frequent colours, each frame after the first only as the rectangle that changed,
// looping for ever. No platform code.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace e2e {

struct GifFrame {
    int width = 0, height = 0;               // every frame of an animation has the same size
    std::vector<std::uint32_t> pixels;       // 0x00RRGGBB, top row first
    int delayCentiseconds = 50;              // how long it stays
};

// The GIF file of the frames; empty when there are none or their sizes differ.
std::vector<std::uint8_t> EncodeAnimatedGif(std::span<const GifFrame> frames);

}  // namespace e2e
