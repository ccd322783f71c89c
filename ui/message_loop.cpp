#include "ui/message_loop.h"

#include "ui/window.h"

namespace ui {

bool PreTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    Window* window = Window::FromHandle(root);
    if (!window) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        if (::GetActiveWindow() != root) return false;
        window->Close();
        return true;
    }
    if (::GetActiveWindow() == root && window->RunKeyBinding(message)) return true;
    if (window->PreTranslateForControls(message)) return true;
    // Only Tab goes through the dialog manager: the window's other keys stay as they are.
    if ((message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.wParam == VK_TAB)
        return ::IsDialogMessageW(root, &message) != FALSE;
    return false;
}

void ProcessPendingEvents() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
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
