// Identifiers a Template window gives its native controls and menu items.
#pragma once

namespace ui {

// A native control's identifier is this plus its index in the control tree.
inline constexpr int kControlIdBase = 100;
// A menu item's command is this plus its index in the window's menu.
inline constexpr int kMenuIdBase = 1000;

}  // namespace ui
