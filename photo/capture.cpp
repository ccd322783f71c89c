#include "photo/capture.h"

#include "photo/slot_image.h"
#include "platform/owners.h"

namespace photo {

std::vector<std::uint8_t> CopyWindowPixels(HWND window) {
    RECT r{};
    if (!window || !::GetWindowRect(window, &r)) return {};
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};

    // A copy from the window's own device context, origin at its top-left corner: what the
    // operator sees in the frame, the camera's picture included.
    HDC windowDc = ::GetWindowDC(window);
    if (!windowDc) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(::CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::UniqueDC memory(::CreateCompatibleDC(windowDc));
    std::vector<std::uint8_t> image;
    if (bitmap && memory && bits) {
        platform::Selection select(memory.get(), bitmap.get());
        if (::BitBlt(memory.get(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY)) {
            ::GdiFlush();
            const std::size_t stride = static_cast<std::size_t>(width) * 4;
            image = MakeSlotImage(width, height,
                                  {static_cast<const std::uint8_t*>(bits), stride * static_cast<std::size_t>(height)},
                                  stride);
        }
    }
    ::ReleaseDC(window, windowDc);
    return image;
}

}  // namespace photo
