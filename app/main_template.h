// The Main window's Template: every control with its kind, parent, geometry, look,
// caption and visibility, and the menu.
#pragma once

#include "ui/template.h"

#include <string_view>

namespace app {

inline constexpr int kMainWidth = 1024;
inline constexpr int kMainHeight = 650;

const ui::WindowTemplate& MainWindowTemplate();

}  // namespace app
