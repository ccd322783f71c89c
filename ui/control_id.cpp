#include "ui/control_id.h"

#include "ui/kind_traits.h"

namespace ui {

std::string ControlIdProblem(const ControlTree& tree, const AnyControlId& id) {
    const int index = tree.IndexOf(id.name);
    if (index < 0) return "no control named " + std::string(id.name);
    const ControlKind actual = tree.At(index).row->kind;
    if (actual == id.kind) return {};
    return std::string(id.name) + " is a " + std::string(TraitsOf(actual).name) + ", not a " +
           std::string(TraitsOf(id.kind).name);
}

std::vector<std::string> CheckControlIds(const ControlTree& tree, std::span<const AnyControlId> ids) {
    std::vector<std::string> problems;
    for (const AnyControlId& id : ids)
        if (std::string problem = ControlIdProblem(tree, id); !problem.empty()) problems.push_back(std::move(problem));
    return problems;
}

}  // namespace ui
