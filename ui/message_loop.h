// The program's message loops. Esc closes the active Template window, Tab moves the focus
// between its tab stops.
#pragma once

#include <windows.h>

#include <optional>

namespace ui {

// Handles Esc and Tab for Template windows, runs the key bindings of the active one, and
// lets their controls see their key messages first; true when the message was consumed.
bool PreTranslate(MSG& message);

// Handles what is waiting for this thread now; a quit request stays for the message loop.
void ProcessPendingEvents();

// When the message being handled (to `window`, with `lParam`) was made, if it came through
// the queue of one of these loops; nullopt for a message sent straight to the window.
std::optional<DWORD> QueuedTimeOf(HWND window, UINT message, LPARAM lParam);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ui
