// Moving a window with the pointer the way its caption would: the platform's own move
// loop, for windows that have no caption to grab.
#pragma once

#include <windows.h>

namespace ui {

// While the left button is held, hands `window` to the platform's move loop, which moves
// it with the pointer (a child window inside its parent) until the button is released.
// Returns how far the window moved; (0, 0) when the button was up.
POINT DragWhileButtonHeld(HWND window);

// Where the window lies in its parent's client area; on the screen for a top-level window.
POINT PositionInParent(HWND window);

}  // namespace ui
