// The declarative description of a window: its size, a tree of named controls and
// its menu. Pure data; ui/window.h realises it on Win32.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

// A colour as the platform takes it: red in the lowest byte, then green, then blue.
struct Colour {
    std::uint32_t value = 0;
    friend constexpr bool operator==(Colour, Colour) = default;
};

// Written as #RRGGBB in the design, stored as 0x00BBGGRR.
constexpr Colour Rgb(std::uint32_t rrggbb) {
    return {((rrggbb & 0xFFu) << 16) | (rrggbb & 0xFF00u) | ((rrggbb >> 16) & 0xFFu)};
}

// Not a real colour: "the system's button-face colour", resolved when painting.
inline constexpr Colour kButtonFace{0xFF000000u};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    constexpr bool Contains(int x, int y) const {
        return x >= left && y >= top && x < Right() && y < Bottom();
    }
    constexpr bool Empty() const { return width <= 0 || height <= 0; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class ControlKind {
    ShapeBox,          // filled rectangle with an inner outline; may hold other controls
    TransparentLabel,  // text without background; receives the mouse
    DrawingBoard,      // bordered surface showing a picture; takes the focus
    GroupBox,          // the platform's group frame with an optional caption
    PushButton,
    GraphicButton,     // three pictures: normal, hover, pressed
    ListBox,
    Slider,
    HtmlViewer,        // the platform's web browser showing one page
    PictureBox,        // a JPEG or PNG picture scaled into the rectangle
    ReportList,        // rows in columns under a header; one row selected at a time
};

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Centre, Bottom };
enum class TextEffect { None, Raised };

// An empty face with a height means "a font of that height, the system picks the face";
// height 0 means the system's default GUI font.
struct FontChoice {
    std::string_view face;
    int height = 0;
    bool bold = false;
    friend constexpr bool operator==(const FontChoice&, const FontChoice&) = default;
};

// A report list's column: its header and width in pixels.
struct ListColumn {
    std::string_view caption;
    int width = 0;
};

struct SliderRange {
    int minimum = 0, maximum = 0, position = 0;
    int lineSize = 1, pageSize = 1;
    bool ticks = false;
};

// One row of the control tree. Rows come in containment order: a parent before its children.
struct ControlRow {
    std::string_view name;
    ControlKind kind = ControlKind::ShapeBox;
    std::string_view parent;  // empty: the window itself
    Rect rect;                // relative to the parent's client area
    Colour background = kButtonFace;
    Colour outline = kButtonFace;
    Colour text{0};
    FontChoice font;
    HAlign hAlign = HAlign::Centre;
    VAlign vAlign = VAlign::Centre;
    bool wrap = false;
    TextEffect effect = TextEffect::None;
    std::string_view caption;
    // What screen readers announce when the caption says nothing: a picture button, a slot.
    std::string_view accessibleName;
    bool visible = true;
    bool tabStop = false;
    bool ownWindow = false;  // a shape box that must be a native window (the preview)
    SliderRange slider;
    // Resource names. Graphic button: normal, hover, pressed; picture box: its picture.
    std::array<std::string_view, 3> pictures;
    std::span<const ListColumn> columns;  // report list
};

struct MenuItemRow {
    std::string_view caption;
    int level = 0;  // 0: top level; 1: under the last top-level item
    // An item under a top-level one may carry a check mark that each choice of it turns on
    // and off; `checked` is how it starts.
    bool checkable = false;
    bool checked = false;
};

struct WindowTemplate {
    int width = 0, height = 0;
    std::span<const ControlRow> controls;
    std::span<const MenuItemRow> menu;
};

}  // namespace ui
