#include "chrome/chrome.h"

#include "ui/window.h"

namespace chrome {

// SetWndShadow lives with the shadow (shadow_owner.cpp); the secondary windows come with
// their own piece of work.
void OpenHelpWindow(ui::Window&) {}
void OpenContactWindow(ui::Window&) {}

}  // namespace chrome
