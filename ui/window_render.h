// A window's pixels as the window and its children paint them, never read back from the
// screen: whatever lies over the window (another program, a window of our own drawn on top
// of it) cannot be in them, with or without desktop composition.
#pragma once

#include "platform/bgrx_picture.h"

#include <windows.h>

namespace ui {

// Draws `window` and its visible child windows, each clipped to its parent as the screen
// clips it and in the order the screen stacks them, into `dc` with the window's top-left
// corner at the DC's origin. Each window draws itself through WM_PRINTCLIENT: a window that
// paints must answer it as it answers WM_PAINT. Nothing but the window's client areas is
// drawn; a window with a border draws its client area where the border leaves it.
void RenderWindowTree(HWND window, HDC dc);

// The window's whole area rendered so; empty when it has no area or the drawing fails.
platform::BgrxPicture RenderWindowPixels(HWND window);

}  // namespace ui
