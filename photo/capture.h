// A 1:1 copy of what a window shows on the screen, as a slot image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace photo {

// The pixels of `window` (its whole window rectangle), as 24-bit bottom-up BMP bytes;
// empty when the window has no area or the copy fails.
std::vector<std::uint8_t> CopyWindowPixels(HWND window);

}  // namespace photo
