#include "ui/modal_window.h"

#include "ui/message_loop.h"
#include "ui/modal.h"

namespace ui {

bool ShowModalWindow(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner) {
    ModalScope modal;
    Window* window = Window::Open(layout, std::move(behaviour), owner);
    if (!window) return false;
    const auto alive = window->Lifetime();
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
        // Enabled again before the window goes, so that the owner, not some other program,
        // becomes the active window.
        window->AddMessageHook([owner](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_DESTROY) ::EnableWindow(owner, TRUE);
            return std::nullopt;
        });
    }

    MSG message{};
    while (!alive.expired()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));  // for the program's loop
            break;
        }
        if (PreTranslate(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (!alive.expired()) ::DestroyWindow(window->Handle());  // frees itself
    if (disableOwner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
    return true;
}

}  // namespace ui
