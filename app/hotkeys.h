// The five global hotkeys of the Main window (arrow keys nudge the preview, Enter captures).
#pragma once

namespace ui {
class Window;
}

namespace app {

void RegisterStartupHotkeys(ui::Window& window);

}  // namespace app
