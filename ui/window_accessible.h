// The accessible object of a Template window's client, whose children are the window's
// controls (window_accessible.cpp); accessibility.h hands it out.
#pragma once

#include <windows.h>
#include <oleacc.h>

namespace ui {

class Window;

// A new object for `window`'s client; its one reference is the caller's.
IAccessible* NewWindowAccessible(Window& window);

// Runs a press an assistive tool asked for, as a click would, once the asking call returned.
void PressForAssistiveTool(Window& window, WPARAM control);

// The message that carries such a press to the window (wParam: the control's index).
UINT AccessibilityPressMessage();

}  // namespace ui
