// Process start-up: GDI+, the Main window, and the start-up sequence run when it is created.
#pragma once

namespace ui {
class Window;
}

namespace app {

// GDI+ is started once and stays started until the process ends.
void StartGdiplusOnce();

// The Main window's created event: hotkeys, components, preview, camera list, reader,
// button choice, photo directory, shadow, menu bar, hidden component files.
void OnMainWindowCreated(ui::Window& window);

// Everything from process start to the end of the message loop; the exit code.
int RunProgram();

}  // namespace app
