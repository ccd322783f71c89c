// Keeps a window that owns itself alive while any of its messages or events is handled.
#pragma once

#include "ui/window.h"

namespace ui {

// Held while a message or event of the window is handled. A window that owns itself and
// whose native window is gone is freed when the outermost one ends, never earlier: the
// handlers and controls still on the stack keep a live object under them.
class DispatchScope {
public:
    explicit DispatchScope(Window& window) : window_(window) { ++window_.dispatchDepth_; }
    ~DispatchScope() {
        if (--window_.dispatchDepth_ == 0 && window_.ownsItself_ && !window_.hwnd_) delete &window_;
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    Window& window_;
};

}  // namespace ui
