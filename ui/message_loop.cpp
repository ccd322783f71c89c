#include "ui/message_loop.h"

#include "ui/window.h"

namespace ui {

bool PreTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    Window* window = Window::FromHandle(root);
    if (!window || ::GetActiveWindow() != root) return false;
    window->Close();
    return true;
}

int RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace ui
