// What screen readers and automation tools see of a Template window (Microsoft Active
// Accessibility): the window's client answers WM_GETOBJECT with an object of our own whose
// children are the Template's controls, painted ones included, in Template order (child
// id = control index + 1). A child's name is its caption, its description its Template
// name, which automation uses to find it.
#pragma once

#include "ui/template.h"

#include <windows.h>

#include <optional>

namespace ui {

class Window;

// IAccessible's interface identifier, {618736E0-3C3D-11CF-810C-00AA00389B71}. Our own:
// MinGW's liboleacc.a carries an IID_IAccessible that is an import thunk, not the value.
inline constexpr IID kAccessibleIid{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// How assistive tools see a control of this kind: its MSAA role, and whether it takes the
// keyboard. A painted control pressed like a button (it has a LeftDown binding) is a push
// button whatever its kind.
struct AccessibleKind {
    long role;
    bool focusable;
};
AccessibleKind AccessibleKindOf(ControlKind kind, bool pressedLikeAButton);

// The platform's object for a window (OBJID_WINDOW), through the accessibility library,
// which is loaded on first use.
HRESULT AccessibleObjectOfWindow(HWND window, IDispatch** out);

// The window's part in it: WM_GETOBJECT for its client, and the presses assistive tools
// asked for, which arrive as a message of their own after the asking call has returned.
// nullopt for every other message.
std::optional<LRESULT> AnswerAccessibility(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui
