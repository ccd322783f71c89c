#include "ui/kind_traits.h"

namespace ui {

bool CanRaise(ControlKind kind, ControlEvent event) { return (TraitsOf(kind).events & EventBit(event)) != 0; }

bool NeedsOwnWindow(const ControlRow& row) {
    switch (TraitsOf(row.kind).windowing) {
    case Windowing::Painted: return false;
    case Windowing::Native: return true;
    case Windowing::NativeWhenAsked: return row.ownWindow;
    }
    return false;
}

}  // namespace ui
