// Process start-up: GDI+, the Main window and its desk, the message loop.
#pragma once

namespace app {

// GDI+ is started once and stays started until the process ends.
void StartGdiplusOnce();

// Everything from process start to the end of the message loop; the exit code.
int RunProgram();

}  // namespace app
