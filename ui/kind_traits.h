// What each control kind is, in one table: whether the platform must own a window for it,
// whether it holds other controls, which events it can raise and what it is to assistive
// tools. Portable; the Win32 side (kind_registry.h) adds how each kind is made or painted.
#pragma once

#include "ui/template.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ui {

enum class ControlEvent {
    Clicked,          // push button, graphic button
    LeftDown,
    LeftUp,
    DoubleClick,
    MouseMove,
    GotFocus,
    LostFocus,
    EntryDoubleClick,  // list box, report list: a row chosen
    PositionChanged,   // slider
    DocumentReady,     // HTML viewer: a page has been loaded
};

enum class Windowing {
    Painted,          // drawn by its window in one pass with the others
    Native,           // always a window of its own
    NativeWhenAsked,  // painted unless its row asks for a window (the preview frame)
};

// What a control is to screen readers and automation tools.
enum class AccessibleRole { Grouping, StaticText, PushButton, Graphic, List, Slider, Client };

struct KindTraits {
    ControlKind kind;
    std::string_view name;  // for messages about Templates
    Windowing windowing;
    bool container;         // may hold other controls
    std::uint32_t events;   // one bit per ControlEvent it can raise
    AccessibleRole role;
    bool takesKeyboard;     // a window of its own that takes the focus
};

constexpr std::uint32_t EventBit(ControlEvent event) { return 1u << static_cast<unsigned>(event); }

namespace kind_table {
inline constexpr std::uint32_t kPointer = EventBit(ControlEvent::LeftDown) | EventBit(ControlEvent::LeftUp) |
                                          EventBit(ControlEvent::DoubleClick) | EventBit(ControlEvent::MouseMove);
inline constexpr std::uint32_t kFocus = EventBit(ControlEvent::GotFocus) | EventBit(ControlEvent::LostFocus);

inline constexpr std::array kKinds{
    KindTraits{ControlKind::ShapeBox, "shape box", Windowing::NativeWhenAsked, true, kPointer,
               AccessibleRole::Grouping, false},
    KindTraits{ControlKind::TransparentLabel, "transparent label", Windowing::Painted, false, kPointer,
               AccessibleRole::StaticText, false},
    KindTraits{ControlKind::DrawingBoard, "drawing board", Windowing::Native, false, kPointer | kFocus,
               AccessibleRole::Graphic, true},
    KindTraits{ControlKind::GroupBox, "group box", Windowing::Painted, true, kPointer, AccessibleRole::Grouping,
               false},
    KindTraits{ControlKind::PushButton, "push button", Windowing::Native, false, EventBit(ControlEvent::Clicked),
               AccessibleRole::PushButton, true},
    KindTraits{ControlKind::GraphicButton, "graphic button", Windowing::Native, false,
               EventBit(ControlEvent::Clicked), AccessibleRole::PushButton, false},
    KindTraits{ControlKind::ListBox, "list box", Windowing::Native, false, EventBit(ControlEvent::EntryDoubleClick),
               AccessibleRole::List, true},
    KindTraits{ControlKind::Slider, "slider", Windowing::Native, false, EventBit(ControlEvent::PositionChanged),
               AccessibleRole::Slider, true},
    KindTraits{ControlKind::HtmlViewer, "HTML viewer", Windowing::Native, false,
               EventBit(ControlEvent::DocumentReady), AccessibleRole::Client, true},
    KindTraits{ControlKind::PictureBox, "picture box", Windowing::Native, false, kPointer, AccessibleRole::Graphic,
               false},
    KindTraits{ControlKind::ReportList, "report list", Windowing::Native, false,
               EventBit(ControlEvent::EntryDoubleClick), AccessibleRole::List, true},
};

// The table is indexed by kind: a kind added to the enumeration without its row fails here.
constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
    return true;
}
static_assert(InKindOrder(), "one row per control kind, in the order of ControlKind");
static_assert(kKinds.size() == static_cast<std::size_t>(ControlKind::ReportList) + 1);
}  // namespace kind_table

constexpr const KindTraits& TraitsOf(ControlKind kind) { return kind_table::kKinds[static_cast<std::size_t>(kind)]; }

// Whether a control of this kind can raise the event at all.
bool CanRaise(ControlKind kind, ControlEvent event);

// Kinds the platform must own a window for; the rest are painted by their host window.
bool NeedsOwnWindow(const ControlRow& row);

}  // namespace ui
