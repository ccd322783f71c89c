#include "photo/capture.h"

#include "photo/slot_image.h"
#include "platform/dib.h"

namespace photo {

std::vector<std::uint8_t> CopyWindowPixels(HWND window) {
    RECT r{};
    if (!window || !::GetWindowRect(window, &r)) return {};
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};

    // A copy from the window's own device context, origin at its top-left corner: what the
    // operator sees in the frame, the camera's picture included.
    const platform::WindowDC windowDcOwner(window, platform::WindowDC::Area::Whole);
    HDC windowDc = windowDcOwner.get();
    if (!windowDc) return {};
    const platform::TopDownDib dib = platform::CreateTopDownDib(windowDc, width, height);
    platform::UniqueDC memory(::CreateCompatibleDC(windowDc));
    std::vector<std::uint8_t> image;
    if (dib.bits && memory) {
        platform::Selection select(memory.get(), dib.bitmap.get());
        if (::BitBlt(memory.get(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY)) {
            ::GdiFlush();
            const std::size_t stride = static_cast<std::size_t>(width) * 4;
            image = MakeSlotImage(width, height,
                                  {static_cast<const std::uint8_t*>(dib.bits), stride * static_cast<std::size_t>(height)},
                                  stride);
        }
    }
    return image;
}

}  // namespace photo
