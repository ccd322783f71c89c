#include "chrome/browser_hook.h"

#include "chrome/timed_message.h"
#include "ui/message_loop.h"

namespace chrome {

namespace {
// A process singleton: the replacement window procedure has no object to find, and the
// Help window that needs it is modal, so there is never more than one browser to hook.
struct HookState {
    HWND hooked = nullptr;
    WNDPROC previous = nullptr;
};

HookState& ProcessBrowserHook() {
    static HookState state;
    return state;
}

constexpr int kClassNameBuffer = 50;
}  // namespace

HWND FindBrowserServer(HWND parent) {
    HWND child = ::FindWindowExW(parent, nullptr, nullptr, nullptr);
    while (child) {
        wchar_t name[kClassNameBuffer] = {};
        ::GetClassNameW(child, name, kClassNameBuffer);
        if (std::wstring_view(name) == kBrowserServerClass) return child;
        if (HWND found = FindBrowserServer(child)) return found;
        child = ::FindWindowExW(parent, child, nullptr, nullptr);
        if (::GetInputState()) ui::ProcessPendingEvents();
    }
    return nullptr;
}

LRESULT CALLBACK BrowserServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HookState& hook = ProcessBrowserHook();
    switch (message) {
    case WM_DESTROY:
        hook.hooked = nullptr;  // the next browser is hooked afresh
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 0;
    default:
        break;
    }
    return ::CallWindowProcW(hook.previous, window, message, wParam, lParam);
}

void HookBrowserServer(HWND viewer) {
    HookState& hook = ProcessBrowserHook();
    if (hook.hooked) return;  // the event comes again for the same page and for later ones
    HWND server = FindBrowserServer(viewer);
    if (!server) {
        ShowTimedMessage("浏览器 句柄无效");
        return;
    }
    hook.previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(server, GWLP_WNDPROC));
    ::SetWindowLongPtrW(server, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowserServerProc));
    hook.hooked = server;
}

HWND HookedBrowserServer() { return ProcessBrowserHook().hooked; }

}  // namespace chrome
