#include "app/window_handlers.h"

#include "ui/caption_drag.h"
#include "ui/window.h"

namespace app {

void DragMainWindow(ui::Window& window) { ui::DragWhileButtonHeld(window.Handle()); }

void PopUpSettingsMenu(ui::Window& window) { window.PopUpMenu("帮助"); }

void CloseMainWindow(ui::Window& window) { window.Close(); }

}  // namespace app
