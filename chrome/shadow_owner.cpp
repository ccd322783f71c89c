// The owner's side of the drop shadow: attaching and removing it, and the window
// procedure through which the shadow follows its owner. That procedure is chained in front
// of whatever procedure the owner had (the Template window's, with the hotkeys' message
// hook inside it) and forwards every message to it first.
#include "chrome/chrome.h"
#include "chrome/shadow_window.h"

namespace chrome {

namespace {

WNDPROC CurrentProc(HWND owner) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(owner, GWLP_WNDPROC)); }

WNDPROC SavedProc(HWND owner) {
    return reinterpret_cast<WNDPROC>(reinterpret_cast<LONG_PTR>(::GetPropW(owner, kShadowProcProperty)));
}

bool IsOurs(WNDPROC proc) { return proc == &WndShadowOwnerProc; }

// Asks the owner's chain whether WndShadowOwnerProc is still in it: a later subclass passes
// the question on; one that left out of order may have cut this procedure out.
UINT ChainProbe() {
    static const UINT probe = ::RegisterWindowMessageW(L"Halo.WndShadow.Probe");
    return probe;
}
constexpr LRESULT kInChain = 0x486C6F;

bool InChain(HWND owner) { return ChainProbe() != 0 && ::SendMessageW(owner, ChainProbe(), 0, 0) == kInChain; }

void GiveBackSavedProc(HWND owner, WNDPROC saved) {
    ::SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    ::RemovePropW(owner, kShadowProcProperty);
}

// Takes WndShadowOwnerProc out of the owner's chain where that is safe: while it is the
// current procedure. Below a later subclass it stays, passing everything on, and leaves
// once it is on top again (WndShadowOwnerProc): setting the saved procedure back now would
// cut that later subclass off.
void StopFollowing(HWND owner) {
    const WNDPROC saved = SavedProc(owner);
    if (!saved) return;
    if (IsOurs(CurrentProc(owner))) {
        GiveBackSavedProc(owner, saved);
    } else if (!InChain(owner)) {
        ::RemovePropW(owner, kShadowProcProperty);  // already cut out
    }
}

bool OnThisThread(HWND window) { return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId(); }

}  // namespace

bool FollowOwner(HWND owner) {
    const WNDPROC current = CurrentProc(owner);
    if (IsOurs(current) || (SavedProc(owner) && InChain(owner))) return true;

    // Saved first: from the moment it is installed, the procedure forwards to it.
    if (!current || !::SetPropW(owner, kShadowProcProperty, reinterpret_cast<HANDLE>(reinterpret_cast<LONG_PTR>(current))))
        return false;
    if (!::SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndShadowOwnerProc))) {
        ::RemovePropW(owner, kShadowProcProperty);
        return false;
    }
    return true;
}

void RemoveWndShadow(HWND owner) {
    if (HWND shadow = ShadowWindowOf(owner)) {
        ::RemovePropW(shadow, kShadowColourProperty);
        ::RemovePropW(shadow, kShadowSizeProperty);
        ::DestroyWindow(shadow);
    }
    ::RemovePropW(owner, kShadowWindowProperty);
    StopFollowing(owner);
}

LRESULT CALLBACK WndShadowOwnerProc(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ChainProbe() && message != 0) return kInChain;
    const WNDPROC previous = SavedProc(owner);
    const LRESULT result = previous ? ::CallWindowProcW(previous, owner, message, wParam, lParam)
                                    : ::DefWindowProcW(owner, message, wParam, lParam);
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        SyncWndShadow(owner);
        break;
    case WM_SHOWWINDOW:
        SyncWndShadow(owner, wParam != FALSE);
        break;
    case WM_WINDOWPOSCHANGED: {
        // SetWindowPos shows and hides without WM_SHOWWINDOW.
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (position && (position->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) SyncWndShadow(owner);
        break;
    }
    case WM_NCDESTROY:
        // The platform destroys the owned shadow window; the properties are ours to remove.
        RemoveWndShadow(owner);
        return result;
    default:
        break;
    }
    // Removed while a later subclass sat on top: leave as soon as that one has gone.
    if (previous && !::GetPropW(owner, kShadowWindowProperty) && IsOurs(CurrentProc(owner)))
        GiveBackSavedProc(owner, previous);
    return result;
}

bool SetWndShadow(HWND owner, COLORREF colour, int size) {
    // A window of another thread cannot be subclassed safely (of another process not at all).
    if (!::IsWindow(owner) || !OnThisThread(owner)) return false;
    if (size < 1) {
        RemoveWndShadow(owner);
        return false;
    }
    HWND shadow = EnsureShadowWindow(owner);
    if (!shadow) return false;
    ::SetPropW(shadow, kShadowColourProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
    ::SetPropW(shadow, kShadowSizeProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(size)));
    SyncWndShadow(owner, std::nullopt, ShadowPicture::Renew);
    // A shadow that cannot follow its owner would stay behind at the first move.
    if (!FollowOwner(owner)) {
        RemoveWndShadow(owner);
        return false;
    }
    return true;
}

}  // namespace chrome
