// Keeps the right button away from the web browser's inner document window, so that its
// context menu never appears: once a page is ready, that window is subclassed and its
// right-button messages dropped.
#pragma once

#include <windows.h>

namespace chrome {

// The class of the browser's inner document window.
inline constexpr wchar_t kBrowserServerClass[] = L"Internet Explorer_Server";

// Depth-first search below `parent`, in the order the platform lists child windows, for a
// window of class kBrowserServerClass; null when there is none. Pending events are handled
// between siblings while input waits, so a long search keeps the program responsive.
HWND FindBrowserServer(HWND parent);

// The procedure that replaces the inner window's own: right-button messages are dropped,
// everything else is passed on; its destruction forgets the hook.
LRESULT CALLBACK BrowserServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The HTML viewer's document-ready event: subclasses the inner window below `viewer`
// unless one is hooked already. When there is none, says so in a timed message box.
void HookBrowserServer(HWND viewer);

// The inner window hooked now; null when none is.
HWND HookedBrowserServer();

}  // namespace chrome
