#include "ui/control_tree.h"

#include "ui/kind_traits.h"

#include <algorithm>

namespace ui {

Rect Intersect(const Rect& a, const Rect& b) {
    const int left = std::max(a.left, b.left);
    const int top = std::max(a.top, b.top);
    const int right = std::min(a.Right(), b.Right());
    const int bottom = std::min(a.Bottom(), b.Bottom());
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

std::optional<ControlTree> ControlTree::Build(std::span<const ControlRow> rows, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<ControlTree> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    ControlTree tree;
    tree.controls_.reserve(rows.size());
    for (const ControlRow& row : rows) {
        if (row.name.empty()) return fail("a control has no name");
        if (tree.IndexOf(row.name) >= 0) return fail("name used twice: " + std::string(row.name));
        int parent = -1;
        if (!row.parent.empty()) {
            parent = tree.IndexOf(row.parent);
            if (parent < 0)
                return fail(std::string(row.name) + ": parent must come before it: " + std::string(row.parent));
            if (!TraitsOf(tree.At(parent).row->kind).container)
                return fail(std::string(row.name) + ": parent cannot hold controls: " + std::string(row.parent));
        }
        // The top-level window paints every control without a window of its own, so
        // such a control cannot sit inside one that has a window.
        if (!NeedsOwnWindow(row)) {
            for (int p = parent; p >= 0; p = tree.At(p).parent)
                if (NeedsOwnWindow(*tree.At(p).row))
                    return fail(std::string(row.name) + ": painted control inside a window of its own");
        }
        ControlState state;
        state.row = &row;
        state.parent = parent;
        state.rect = row.rect;
        state.visible = row.visible;
        state.caption = std::string(row.caption);
        state.text = row.text;
        state.outline = row.outline;
        tree.controls_.push_back(std::move(state));
    }
    return tree;
}

int ControlTree::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].row->name == name) return static_cast<int>(i);
    return -1;
}

Rect ControlTree::AbsoluteRect(int index) const {
    Rect r = At(index).rect;
    for (int p = At(index).parent; p >= 0; p = At(p).parent) {
        r.left += At(p).rect.left;
        r.top += At(p).rect.top;
    }
    return r;
}

Rect ControlTree::VisibleRect(int index) const {
    Rect r = AbsoluteRect(index);
    for (int p = At(index).parent; p >= 0; p = At(p).parent) r = Intersect(r, AbsoluteRect(p));
    return r;
}

bool ControlTree::IsShown(int index) const {
    for (int i = index; i >= 0; i = At(i).parent)
        if (!At(i).visible) return false;
    return true;
}

int ControlTree::HostOf(int index) const {
    for (int p = At(index).parent; p >= 0; p = At(p).parent)
        if (NeedsOwnWindow(*At(p).row)) return p;
    return -1;
}

Rect ControlTree::RectInHost(int index) const {
    Rect r = AbsoluteRect(index);
    const int host = HostOf(index);
    if (host >= 0) {
        const Rect h = AbsoluteRect(host);
        r.left -= h.left;
        r.top -= h.top;
    }
    return r;
}

int ControlTree::HitTestWindowless(int x, int y) const {
    // Later rows are painted over earlier ones, so the last hit is the topmost.
    for (int i = Count() - 1; i >= 0; --i) {
        if (NeedsOwnWindow(*At(i).row)) continue;
        if (IsShown(i) && VisibleRect(i).Contains(x, y)) return i;
    }
    return -1;
}

bool ControlTree::IsWithin(int index, int ancestor) const {
    for (int i = index; i >= 0; i = At(i).parent)
        if (i == ancestor) return true;
    return false;
}

}  // namespace ui
