// Painting through a memory bitmap, so that a repaint never flickers.
#pragma once

#include "platform/owners.h"

namespace ui {

// Serves WM_PAINT: `paint(dc, area)` draws the invalid area into a memory bitmap that is
// then copied to the window in one go.
template <typename Paint>
void BufferedPaint(HWND window, Paint&& paint) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    const RECT r = ps.rcPaint;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (dc && w > 0 && h > 0) {
        platform::UniqueDC memory(::CreateCompatibleDC(dc));
        platform::UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, w, h));
        if (memory && bitmap) {
            platform::Selection select(memory.get(), bitmap.get());
            ::SetViewportOrgEx(memory.get(), -r.left, -r.top, nullptr);
            paint(memory.get(), r);
            ::SetViewportOrgEx(memory.get(), 0, 0, nullptr);
            ::BitBlt(dc, r.left, r.top, w, h, memory.get(), 0, 0, SRCCOPY);
        }
    }
    ::EndPaint(window, &ps);
}

}  // namespace ui
