#include "ui/native_control.h"

#include "platform/win_text.h"
#include "ui/buffered_paint.h"

namespace ui {

bool NativeControl::Create(HWND parent, int id, const Rect& place, bool visible) {
    const WindowTraits traits = Traits();
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0u) |
                        (state_.row->tabStop || traits.focusable ? WS_TABSTOP : 0u) | traits.style;
    const std::wstring caption = platform::Wide(state_.caption);
    hwnd_ = ::CreateWindowExW(traits.exStyle, traits.windowClass, caption.c_str(), style, place.left, place.top,
                              place.width, place.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                              nullptr);
    if (!hwnd_) return false;
    Created();
    return true;
}

void NativeControl::SetHook(MessageHook hook) {
    hook_ = std::move(hook);
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);  // whoever paints now paints it all
}

LRESULT NativeControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = hwnd_;
    if (hook_ && message != WM_NCDESTROY) {
        const MessageHook hook = hook_;  // it may clear itself
        if (const auto consumed = hook(self, message, wParam, lParam)) return *consumed;
    }
    switch (message) {
    case WM_PAINT:
        BufferedPaint(self, [&](HDC dc, const RECT&) {
            RECT client{};
            ::GetClientRect(self, &client);
            Paint(dc, client);
        });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(self, &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return host_.Notify(message, wParam, lParam);
    case WM_GETDLGCODE:
        // Tab and Shift+Tab move the focus on; every other key stays with the control.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        break;
    }
    if (const auto answer = OnMessage(message, wParam, lParam)) return *answer;
    return ::DefWindowProcW(self, message, wParam, lParam);
}

std::optional<LRESULT> NativeControl::RaisePointerEvents(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE: host_.Fire(index_, ControlEvent::MouseMove); return 0;
    case WM_LBUTTONDOWN: host_.Fire(index_, ControlEvent::LeftDown); return 0;
    case WM_LBUTTONUP: host_.Fire(index_, ControlEvent::LeftUp); return 0;
    case WM_LBUTTONDBLCLK:
        // A quick second press without a double-click binding is still a press.
        host_.Fire(index_, host_.IsBound(index_, ControlEvent::DoubleClick) ? ControlEvent::DoubleClick
                                                                             : ControlEvent::LeftDown);
        return 0;
    default:
        return std::nullopt;
    }
}

std::string NativeControl::PictureSize(int width, int height) {
    return std::to_string(width) + "×" + std::to_string(height);
}

}  // namespace ui
