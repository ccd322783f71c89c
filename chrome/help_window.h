// The Help window: the program's help page in a web browser, shown modally by
// OpenHelpWindow (chrome.h).
#pragma once

namespace ui {
class Window;
}

namespace chrome {

// The Help window's created event: the page written when absent and shown, the shadow,
// the keyboard focus on the page.
void PrepareHelpPage(ui::Window& help);

}  // namespace chrome
