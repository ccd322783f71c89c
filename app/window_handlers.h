// Behaviour of the Main window that belongs to no subsystem: dragging it by its
// background, the settings button's menu, closing.
#pragma once

namespace ui {
class Window;
}

namespace app {

void DragMainWindow(ui::Window& window);
void PopUpSettingsMenu(ui::Window& window);
void CloseMainWindow(ui::Window& window);

}  // namespace app
