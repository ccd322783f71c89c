// A secondary Template window shown modally: the call returns once the window has closed.
#pragma once

#include "ui/window.h"

namespace ui {

// Opens a window that owns itself over `owner` and handles the thread's messages until it
// has closed (its own control, Esc, a handler). Meanwhile the owner takes no input and the
// program's hotkeys are let go (ModalScope). A quit request ends the wait, closes the
// window and is left for the program's message loop. False when the window could not be
// created.
bool ShowModalWindow(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner);

}  // namespace ui
