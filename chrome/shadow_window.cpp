#include "chrome/shadow_window.h"

#include "chrome/shadow_geometry.h"
#include "chrome/shadow_paint.h"
#include "platform/owners.h"

#include <climits>
#include <cstdint>
#include <cwchar>
#include <iterator>

namespace chrome {

namespace {

// GWLP_USERDATA of a shadow window: whether its layered picture was made for its present
// size and has not been hidden since. Only then may a move take the picture along.
constexpr LONG_PTR kPictureCurrent = 1;

// Hands everything to the default procedure; only takes its own properties away as it goes.
LRESULT CALLBACK ShadowWindowProc(HWND shadow, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        ::RemovePropW(shadow, kShadowColourProperty);
        ::RemovePropW(shadow, kShadowSizeProperty);
    }
    return ::DefWindowProcW(shadow, message, wParam, lParam);
}

// Registered once per process; a class of that name that already exists is used as it is.
bool EnsureShadowClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, kShadowClassName, &existing)) return true;
    WNDCLASSEXW shadowClass{};
    shadowClass.cbSize = sizeof shadowClass;
    shadowClass.lpfnWndProc = &ShadowWindowProc;
    shadowClass.hInstance = instance;
    shadowClass.lpszClassName = kShadowClassName;
    return ::RegisterClassExW(&shadowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool IsShadowClass(HWND window) {
    wchar_t name[std::size(kShadowClassName) + 1] = {};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return length > 0 && std::wcscmp(name, kShadowClassName) == 0;
}

std::uintptr_t PropertyValue(HWND window, const wchar_t* name) {
    return reinterpret_cast<std::uintptr_t>(::GetPropW(window, name));
}

void HideShadow(HWND shadow) {
    ::ShowWindow(shadow, SW_HIDE);
    ::SetWindowLongPtrW(shadow, GWLP_USERDATA, 0);
}

bool IsOfSize(HWND window, int width, int height) {
    RECT r{};
    return ::GetWindowRect(window, &r) && r.right - r.left == width && r.bottom - r.top == height;
}

}  // namespace

HWND ShadowWindowOf(HWND owner) {
    auto* shadow = static_cast<HWND>(::GetPropW(owner, kShadowWindowProperty));
    if (!shadow || !::IsWindow(shadow)) return nullptr;
    // A pop-up created with a child window as its parent is owned by that child's top window.
    if (::GetWindow(shadow, GW_OWNER) != ::GetAncestor(owner, GA_ROOT) || !IsShadowClass(shadow)) return nullptr;
    return shadow;
}

COLORREF ShadowColour(HWND shadow) { return static_cast<COLORREF>(PropertyValue(shadow, kShadowColourProperty)); }

int ShadowSize(HWND shadow) {
    // Only sizes of 1 and more are ever stored; anything else reads as no shadow at all.
    const std::uintptr_t size = PropertyValue(shadow, kShadowSizeProperty);
    return size <= INT_MAX ? static_cast<int>(size) : 0;
}

HWND EnsureShadowWindow(HWND owner) {
    if (HWND existing = ShadowWindowOf(owner)) return existing;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!EnsureShadowClass(instance)) return nullptr;
    // Owned by the owner: above it in the Z order, hidden while it is minimised, destroyed
    // with it. Layered and transparent: per-pixel alpha, and clicks fall through to it.
    platform::UniqueWindow shadow(::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE,
                                                    kShadowClassName, L"", WS_POPUP | WS_VISIBLE | WS_DISABLED,
                                                    0, 0, 0, 0, owner, nullptr, instance, nullptr));
    if (!shadow || !::SetPropW(owner, kShadowWindowProperty, shadow.get())) return nullptr;
    return shadow.release();
}

void SyncWndShadow(HWND owner, std::optional<bool> visible, ShadowPicture picture) {
    HWND shadow = ShadowWindowOf(owner);
    if (!shadow) return;
    const bool shown = visible.value_or(::IsWindowVisible(owner) != FALSE);
    if (!shown || ::IsZoomed(owner) || ::IsIconic(owner)) {
        HideShadow(shadow);
        return;
    }
    RECT ownerRect{};
    if (!::GetWindowRect(owner, &ownerRect)) return;
    const auto place = PlaceShadow(ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom, ShadowSize(shadow));
    if (!place) return;  // no area: the shadow keeps its place and picture

    const bool pictureFits = picture == ShadowPicture::KeepIfOnlyMoved &&
                             ::GetWindowLongPtrW(shadow, GWLP_USERDATA) == kPictureCurrent &&
                             IsOfSize(shadow, place->width, place->height);
    ::SetWindowPos(shadow, nullptr, place->left, place->top, place->width, place->height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!pictureFits) {
        const bool painted = RenderWndShadow(owner, place->width, place->height);
        ::SetWindowLongPtrW(shadow, GWLP_USERDATA, painted ? kPictureCurrent : 0);
    }
    // Shown only once it is in place with its picture, so it never flashes up at its old place.
    if (!::IsWindowVisible(shadow)) ::ShowWindow(shadow, SW_SHOWNA);
}

}  // namespace chrome
