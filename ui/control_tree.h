// The live state of a window's controls (geometry, visibility, captions, colours) and the
// questions asked of it: where a control lies on the window, whether it shows, what the
// mouse is over. No platform code, so it is tested natively.
#pragma once

#include "ui/template.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct ControlState {
    const ControlRow* row = nullptr;
    int parent = -1;        // index of the parent control, -1 for the window
    Rect rect;              // relative to the parent
    bool visible = true;    // the control's own flag; ancestors may still hide it
    std::string caption;    // UTF-8
    Colour text;
    Colour outline;
    int outlineWidth = 1;
    // The system's millisecond tick when the control was last made visible; none while it
    // has shown since the window was made. Presses older than that were made on something else.
    std::optional<std::uint32_t> shownAtTick;
};

class ControlTree {
public:
    // Fails (nullopt, with the reason in *error) when names repeat, a parent is unknown
    // or comes after its child, a non-container holds children, or a painted control lies
    // inside one with a window of its own.
    static std::optional<ControlTree> Build(std::span<const ControlRow> rows,
                                            std::string* error = nullptr);

    int Count() const { return static_cast<int>(controls_.size()); }
    int IndexOf(std::string_view name) const;  // -1 when unknown
    ControlState& At(int index) { return controls_[static_cast<std::size_t>(index)]; }
    const ControlState& At(int index) const { return controls_[static_cast<std::size_t>(index)]; }

    // Rectangle in the window's client coordinates.
    Rect AbsoluteRect(int index) const;
    // The part of AbsoluteRect that its ancestors do not clip away (may be empty).
    Rect VisibleRect(int index) const;
    // Own flag and every ancestor's flag set.
    bool IsShown(int index) const;
    // Nearest ancestor with a window of its own, or -1 for the top-level window.
    int HostOf(int index) const;
    // Rectangle relative to the client area of HostOf(index).
    Rect RectInHost(int index) const;
    // Topmost shown control painted by the window itself under the point (window client
    // coordinates), or -1.
    int HitTestWindowless(int x, int y) const;
    // Whether `index` lies inside `ancestor` (or is it).
    bool IsWithin(int index, int ancestor) const;

private:
    std::vector<ControlState> controls_;
};

Rect Intersect(const Rect& a, const Rect& b);

}  // namespace ui
