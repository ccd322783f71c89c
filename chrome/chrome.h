// Window chrome: the drop shadow and the Help and Contact windows.
#pragma once

#include <windows.h>

namespace ui {
class Window;
}

namespace chrome {

bool SetWndShadow(HWND owner, COLORREF colour, int size = 5);

// Menu handlers of the Main window.
void OpenHelpWindow(ui::Window& window);
void OpenContactWindow(ui::Window& window);

}  // namespace chrome
