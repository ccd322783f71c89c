// A picture as windows draw it and a camera presents it: 32-bit pixels (blue, green, red,
// unused), top row first, rows packed. Portable, so what looks at such pictures is tested
// without a window.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct BgrxPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgrx;
};

}  // namespace platform
