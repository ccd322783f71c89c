// A Template window's part in accessibility: its answer to WM_GETOBJECT, the presses
// assistive tools ask for, and how each kind of control appears to them.
#include "ui/accessibility.h"

#include "platform/com_ptr.h"
#include "platform/component_library.h"
#include "ui/window.h"
#include "ui/window_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <string>

namespace ui {

namespace {

// A single-threaded apartment on each thread that hands out objects, for the thread's
// life: calls from other processes then come through the thread's own messages, never on
// threads of their own.
bool EnsureApartment() {
    struct Apartment {
        HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ~Apartment() {
            if (SUCCEEDED(result)) ::CoUninitialize();
        }
    };
    thread_local const Apartment apartment;
    return SUCCEEDED(apartment.result);
}

// The accessibility library, loaded from the system folder the first time a screen reader or
// a tool asks for a window's object rather than at start-up, where it would come before the
// first paint. Kept until the process ends: objects handed out rely on it.
struct AccessibilityLibrary {
    AccessibilityLibrary() {
        const std::wstring path = platform::SystemLibraryPath(L"oleacc.dll");
        if (path.empty()) return;
        module = platform::ComponentLibrary(path);
        module.PinForProcessLifetime();  // its freeing at exit then unloads nothing
        lresultFromObject = module.Find<decltype(&::LresultFromObject)>("LresultFromObject");
        objectFromWindow = module.Find<decltype(&::AccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
    }
    platform::ComponentLibrary module;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
};

const AccessibilityLibrary& Oleacc() {
    static const AccessibilityLibrary library;
    return library;
}

}  // namespace

HRESULT AccessibleObjectOfWindow(HWND window, IDispatch** out) {
    if (!Oleacc().objectFromWindow) return E_NOTIMPL;
    return Oleacc().objectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(out));
}

// The message that carries a press asked for through the object (wParam: the control's
// index), so its handlers run after the asking call has returned: a handler may open a
// modal box, and the caller would wait for it.
UINT AccessibilityPressMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Orvia.Accessibility.Press");
    return message;
}

AccessibleKind AccessibleKindOf(ControlKind kind, bool pressedLikeAButton) {
    const KindTraits& traits = TraitsOf(kind);
    // A painted control pressed like a button is one, whatever it is drawn as.
    if (pressedLikeAButton && traits.windowing != Windowing::Native) return {ROLE_SYSTEM_PUSHBUTTON, false};
    switch (traits.role) {
    case AccessibleRole::Grouping: return {ROLE_SYSTEM_GROUPING, traits.takesKeyboard};
    case AccessibleRole::StaticText: return {ROLE_SYSTEM_STATICTEXT, traits.takesKeyboard};
    case AccessibleRole::PushButton: return {ROLE_SYSTEM_PUSHBUTTON, traits.takesKeyboard};
    case AccessibleRole::Graphic: return {ROLE_SYSTEM_GRAPHIC, traits.takesKeyboard};
    case AccessibleRole::List: return {ROLE_SYSTEM_LIST, traits.takesKeyboard};
    case AccessibleRole::Slider: return {ROLE_SYSTEM_SLIDER, traits.takesKeyboard};
    case AccessibleRole::Client: return {ROLE_SYSTEM_CLIENT, traits.takesKeyboard};
    }
    return {ROLE_SYSTEM_CLIENT, false};
}

std::optional<LRESULT> AnswerAccessibility(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        // The object id comes as a 32-bit value, whatever the width of lParam.
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !window.IsAlive() || !EnsureApartment())
            return std::nullopt;
        platform::ComPtr<IAccessible> object;
        *object.put() = NewWindowAccessible(window);
        if (!Oleacc().lresultFromObject) return std::nullopt;
        return Oleacc().lresultFromObject(kAccessibleIid, wParam, object.get());
    }
    if (message != 0 && message == AccessibilityPressMessage()) {
        PressForAssistiveTool(window, wParam);
        return 0;
    }
    return std::nullopt;
}

}  // namespace ui
