#include "app/window_handlers.h"

#include "ui/window.h"

namespace app {

void DragMainWindow(ui::Window& window) {
    // Only while the left button is held: the caption-drag message with the button up
    // starts a move loop that glues the window to the pointer.
    if ((::GetKeyState(VK_LBUTTON) & 0x8000) == 0) return;
    ::ReleaseCapture();
    ::SendMessageW(window.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void PopUpSettingsMenu(ui::Window& window) { window.PopUpMenu("帮助"); }

void CloseMainWindow(ui::Window& window) { window.Close(); }

}  // namespace app
