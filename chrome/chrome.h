// Window chrome: the drop shadow and the Help and Contact windows.
#pragma once

#include <windows.h>

namespace ui {
class Window;
}

namespace chrome {

// Gives a borderless window a soft drop shadow of `colour` (0x00BBGGRR), `size` pixels
// wide, that follows it (see shadow_window.h); a second call changes colour and size. True
// while the window has a shadow: false for no window (or one of another thread), when no
// shadow window can be made, and after a size below 1, which removes the shadow.
bool SetWndShadow(HWND owner, COLORREF colour, int size = 5);

// Menu handlers of the Main window.
void OpenHelpWindow(ui::Window& window);
void OpenContactWindow(ui::Window& window);

}  // namespace chrome
