#include "ui/control_tree.h"

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

namespace {
bool CanContain(ControlKind kind) {
    return kind == ControlKind::ShapeBox || kind == ControlKind::GroupBox;
}
}  // namespace

std::optional<ControlTree> ControlTree::Build(std::span<const ControlSpec> specs, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<ControlTree> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    ControlTree tree;
    tree.controls_.reserve(specs.size());
    for (const ControlSpec& spec : specs) {
        if (spec.name.empty()) return fail("a control has no name");
        if (tree.IndexOf(spec.name) >= 0) return fail("name used twice: " + std::string(spec.name));
        int parent = -1;
        if (!spec.parent.empty()) {
            parent = tree.IndexOf(spec.parent);
            if (parent < 0)
                return fail(std::string(spec.name) + ": parent must come before it: " + std::string(spec.parent));
            if (!CanContain(tree.At(parent).spec->kind))
                return fail(std::string(spec.name) + ": parent cannot hold controls: " + std::string(spec.parent));
        }
        ControlState state;
        state.spec = &spec;
        state.parent = parent;
        state.rect = spec.rect;
        state.visible = spec.visible;
        state.caption = std::string(spec.caption);
        state.text = spec.text;
        state.outline = spec.outline;
        tree.controls_.push_back(std::move(state));
    }
    return tree;
}

int ControlTree::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].spec->name == name) return static_cast<int>(i);
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
        if (NeedsOwnWindow(*At(p).spec)) return p;
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
        if (NeedsOwnWindow(*At(i).spec) || HostOf(i) >= 0) continue;
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
