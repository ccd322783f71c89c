// The program's message loop. Esc closes the active Template window.
#pragma once

#include <windows.h>

namespace ui {

// Handles Esc for Template windows; true when the message was consumed.
bool PreTranslate(const MSG& message);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ui
