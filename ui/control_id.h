// A control of a window's Template, named once with the kind its users expect. Code reaches
// controls through these, never through bare strings; a window checks them when it is made.
#pragma once

#include "ui/control_tree.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

template <ControlKind Kind>
struct ControlId {
    std::string_view name;
};

// Any control id, its kind kept as a value: event bindings and checks take these.
struct AnyControlId {
    std::string_view name;
    ControlKind kind;

    constexpr AnyControlId(std::string_view n, ControlKind k) : name(n), kind(k) {}
    template <ControlKind Kind>
    constexpr AnyControlId(ControlId<Kind> id) : name(id.name), kind(Kind) {}  // NOLINT: implicit by design
};

// The Template row of the control `id` names, of the kind its type says: a Template built
// this way cannot disagree with the code about a control's name or kind.
template <ControlKind Kind>
constexpr ControlRow Row(ControlId<Kind> id, ControlRow row) {
    row.name = id.name;
    row.kind = Kind;
    return row;
}

// Why `id` does not resolve in `tree` ("no control named ...", "... is a list box, not a
// slider"); empty when it names a control of its kind.
std::string ControlIdProblem(const ControlTree& tree, const AnyControlId& id);

// The problems of every id; empty when all resolve.
std::vector<std::string> CheckControlIds(const ControlTree& tree, std::span<const AnyControlId> ids);

}  // namespace ui
