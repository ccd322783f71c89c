#include "app/hotkeys.h"

#include "ui/window.h"

namespace app {

// The hotkey table comes with its own piece of work; start-up already calls it in order.
void RegisterStartupHotkeys(ui::Window&) {}

}  // namespace app
