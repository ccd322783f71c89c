#include "chrome/chrome.h"

#include "ui/window.h"

namespace chrome {

// The shadow and the secondary windows come with their own pieces of work.
bool SetWndShadow(HWND, COLORREF, int) { return false; }

}  // namespace chrome
