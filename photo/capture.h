// A 1:1 copy of what a window shows, as a slot image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace photo {

// The pixels of `window` (its whole window rectangle) as the window and its children draw
// them (ui/window_render.h), as 24-bit bottom-up BMP bytes; empty when the window has no
// area or the drawing fails. Never read from the screen: nothing lying over the window, the
// framing guide above all, can be in a photo.
std::vector<std::uint8_t> CopyWindowPixels(HWND window);

}  // namespace photo
