// A Template window's events: bindings fired by controls and the pointer, notifications
// from native controls, and the message hooks of modules.
#include "ui/dispatch_scope.h"
#include "ui/message_loop.h"
#include "ui/native_control.h"
#include "ui/window.h"
#include "ui/window_ids.h"

#include <windowsx.h>

namespace ui {

void Window::Fire(int control, ControlEvent event) {
    DispatchScope firing(*this);
    // A handler may close the window: the handlers after it are not run on a closed window.
    for (std::size_t i = 0; i < bindings_.size() && hwnd_; ++i) {
        if (bindings_[i].control != control || bindings_[i].event != event) continue;
        Handler handler = bindings_[i].handler;
        if (handler) handler(*this);
    }
}

bool Window::IsBound(int control, ControlEvent event) const {
    for (const Binding& b : bindings_)
        if (b.control == control && b.event == event) return true;
    return false;
}

bool Window::ShownAfterPress(int control, UINT message, LPARAM lParam) const {
    // Buttons swap in place (Read card and Photo): a press made before the swap, and handled
    // after it, belongs to the button that was there and is lost with it.
    constexpr DWORD kPendingAtMostMs = 60000;  // ticks wrap; a press never waits this long
    const std::optional<DWORD> made = QueuedTimeOf(hwnd_, message, lParam);
    if (!made) return false;
    const DWORD pressed = *made;
    const DWORD now = ::GetTickCount();
    for (int c = control; c >= 0; c = tree_.At(c).parent) {
        const std::optional<std::uint32_t> shown = tree_.At(c).shownAtTick;
        if (shown && now - *shown < kPendingAtMostMs && static_cast<LONG>(*shown - pressed) > 0) return true;
    }
    return false;
}

void Window::OnMouse(UINT message, LPARAM lParam) {
    int hit = tree_.HitTestWindowless(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && hit >= 0 && ShownAfterPress(hit, message, lParam))
        hit = -1;
    switch (message) {
    case WM_MOUSEMOVE: {
        // While a press lasts the moves belong to what was pressed, not to what the pointer
        // slides over: a held button never starts the background's drag.
        const int target = ::GetCapture() == hwnd_ ? pressed_ : hit;
        if (target >= 0) Fire(target, ControlEvent::MouseMove);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (hit >= 0 && IsBound(hit, ControlEvent::DoubleClick)) {
            Fire(hit, ControlEvent::DoubleClick);
            break;
        }
        [[fallthrough]];  // a quick second press is still a press
    case WM_LBUTTONDOWN:
        pressed_ = hit;
        ::SetCapture(hwnd_);  // so the release reaches the control that was pressed
        if (hit >= 0) Fire(hit, ControlEvent::LeftDown);
        break;
    case WM_LBUTTONUP: {
        const int target = pressed_ >= 0 ? pressed_ : hit;
        pressed_ = -1;
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
        if (target >= 0) Fire(target, ControlEvent::LeftUp);
        break;
    }
    default:
        break;
    }
}

int Window::IndexOfHandle(HWND child) const {
    // Every native control carries its index in its control identifier.
    if (!child) return -1;
    const int index = ::GetDlgCtrlID(child) - kControlIdBase;
    if (index < 0 || index >= tree_.Count()) return -1;
    const NativeControl* native = NativeAt(index);
    return native && native->Handle() == child ? index : -1;
}

LRESULT Window::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0 && HIWORD(wParam) == 0) {  // a menu item
        OnMenuCommand(LOWORD(wParam) - kMenuIdBase);
        return 0;
    }
    const int index = IndexOfHandle(reinterpret_cast<HWND>(lParam));
    if (index >= 0) NativeAt(index)->OnCommand(HIWORD(wParam));
    return 0;
}

LRESULT Window::OnNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const int index = header ? IndexOfHandle(header->hwndFrom) : -1;
    if (index < 0) return 0;
    return NativeAt(index)->OnNotify(*header).value_or(0);
}

LRESULT Window::OnControlColour(HDC dc, HWND child) {
    // Native controls take the background of the painted container they sit on.
    const int index = IndexOfHandle(child);
    Colour background = kButtonFace;
    for (int p = index >= 0 ? tree_.At(index).parent : -1; p >= 0; p = tree_.At(p).parent) {
        if (TraitsOf(tree_.At(p).row->kind).container) {
            background = tree_.At(p).row->background;
            break;
        }
    }
    ::SetBkColor(dc, Resolve(background));
    return reinterpret_cast<LRESULT>(cache_.Brush(background));
}

LRESULT Window::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) return OnNotify(lParam);
    return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
}

bool Window::PreTranslateForControls(MSG& message) {
    DispatchScope translating(*this);
    for (const auto& native : natives_)
        if (native && native->Handle() && native->PreTranslate(message)) return true;
    return false;
}

bool Window::RunKeyBinding(const MSG& message) {
    if (message.message != WM_KEYDOWN || behaviour_.keys.empty()) return false;
    if ((::GetKeyState(VK_CONTROL) & 0x8000) || (::GetKeyState(VK_MENU) & 0x8000)) return false;
    for (const KeyBinding& key : behaviour_.keys) {
        if (key.virtualKey != message.wParam) continue;
        constexpr LPARAM kWasDown = LPARAM{1} << 30;
        if (message.lParam & kWasDown) return true;  // consumed, but run once per press
        DispatchScope pressing(*this);
        if (const Handler handler = key.handler) handler(*this);
        return true;
    }
    return false;
}

std::optional<LRESULT> Window::RunHooks(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hooks_.empty()) return std::nullopt;
    std::optional<LRESULT> consumed;
    ++hooksRunning_;
    // Hooks added meanwhile wait for the next message.
    const auto last = std::prev(hooks_.end());
    for (auto entry = hooks_.begin(); hwnd_ && !consumed; ++entry) {
        if (!entry->removed) consumed = entry->hook(hwnd_, message, wParam, lParam);
        if (entry == last) break;
    }
    if (--hooksRunning_ == 0) hooks_.remove_if([](const HookEntry& entry) { return entry.removed; });
    return consumed;
}

int Window::AddMessageHook(MessageHook hook) {
    const int id = nextHookId_++;
    hooks_.push_back({id, std::move(hook)});
    return id;
}

int Window::FollowMoves(std::function<void()> moved, std::function<void()> activated) {
    return AddMessageHook([moved = std::move(moved), activated = std::move(activated)](
                              HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if ((message == WM_MOVE || message == WM_SIZE) && moved) moved();
        if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && activated) activated();
        return std::nullopt;
    });
}

void Window::RemoveMessageHook(int id) {
    for (HookEntry& entry : hooks_)
        if (entry.id == id) entry.removed = true;
    if (hooksRunning_ == 0) hooks_.remove_if([](const HookEntry& entry) { return entry.removed; });
}

}  // namespace ui
