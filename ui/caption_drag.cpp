#include "ui/caption_drag.h"

namespace ui {

POINT PositionInParent(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    POINT at{r.left, r.top};
    ::MapWindowPoints(nullptr, ::GetAncestor(window, GA_PARENT), &at, 1);
    return at;
}

POINT DragWhileButtonHeld(HWND window) {
    // The caption-drag message with the button up starts a move loop that glues the
    // window to the pointer.
    if (!window || (::GetKeyState(VK_LBUTTON) & 0x8000) == 0) return {0, 0};
    const POINT before = PositionInParent(window);
    ::ReleaseCapture();
    // Returns when the move loop ends.
    ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    if (!::IsWindow(window)) return {0, 0};
    const POINT after = PositionInParent(window);
    return {after.x - before.x, after.y - before.y};
}

}  // namespace ui
