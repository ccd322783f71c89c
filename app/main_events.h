// The Main window's event map: which handler runs for which event of which control.
#pragma once

#include "app/main_desk.h"
#include "ui/window.h"

#include <memory>

namespace app {

// The created event makes the desk in `desk` and starts it; every other handler works on
// it, so `desk` must outlive the window.
ui::WindowBehaviour MainWindowBehaviour(std::unique_ptr<MainDesk>& desk);

}  // namespace app
