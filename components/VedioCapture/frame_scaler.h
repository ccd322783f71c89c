// Turns a device frame into the preview picture: pixel conversion and scaling in one pass.
#pragma once

#include "frame.h"

#include <cstdint>
#include <vector>

namespace vedio {

class FrameScaler {
public:
    // Converts `source` and scales it to fill `target` entirely. Each axis on its own:
    // bilinear when enlarging, area-averaging when reducing by more than 2x, an exact copy
    // at 1:1. Tables and row buffers are kept between calls of the same sizes, so a running
    // camera allocates nothing per frame. Empty or null frames leave the target untouched.
    void Scale(const SourceFrame& source, const TargetImage& target);
};

}  // namespace vedio
