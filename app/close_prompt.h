// Whether the Main window may close: with photos taken or adjusted since the last save,
// the operator is asked first.
#pragma once

namespace ui {
class Window;
}

namespace app {

// True at once when nothing is unsaved; otherwise the operator's answer (OK closes).
bool MayCloseMainWindow(ui::Window& window);

}  // namespace app
