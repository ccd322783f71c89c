// The Help window: the program's help page in a web browser, shown modally by
// OpenHelpWindow (chrome.h).
#pragma once

#include "ui/control.h"

namespace chrome {

// The Help window's created event: the page written when absent and shown in `viewer`, the
// shadow, the keyboard focus on the page.
void PrepareHelpPage(HWND help, ui::HtmlViewerHandle viewer);

}  // namespace chrome
