#include "ui/message_loop.h"

#include "ui/window.h"

#include <utility>

namespace ui {

namespace {
// The queued message this thread's loops are dispatching, if any: a message sent directly
// to a window procedure has no time of its own.
thread_local const MSG* g_dispatching = nullptr;

void Dispatch(const MSG& message) {
    const MSG* outer = std::exchange(g_dispatching, &message);
    ::DispatchMessageW(&message);
    g_dispatching = outer;
}
}  // namespace

std::optional<DWORD> QueuedTimeOf(HWND window, UINT message, LPARAM lParam) {
    const MSG* m = g_dispatching;
    if (!m || m->hwnd != window || m->message != message || m->lParam != lParam) return std::nullopt;
    return m->time;
}

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
        Dispatch(message);
    }
}

int RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        ::TranslateMessage(&message);
        Dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace ui
