#include "photo/capture.h"

#include "photo/slot_image.h"
#include "ui/window_render.h"

namespace photo {

std::vector<std::uint8_t> CopyWindowPixels(HWND window) {
    const platform::BgrxPicture pixels = ui::RenderWindowPixels(window);
    if (pixels.bgrx.empty()) return {};
    return MakeSlotImage(pixels.width, pixels.height, pixels.bgrx, static_cast<std::size_t>(pixels.width) * 4);
}

}  // namespace photo
