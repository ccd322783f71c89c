// The Main window's event map: which handler runs for which event of which control.
#pragma once

#include "ui/window.h"

namespace app {

ui::WindowBehaviour MainWindowBehaviour();

}  // namespace app
