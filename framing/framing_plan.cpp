#include "framing/framing_plan.h"

#include "framing/guide_geometry.h"

#include <cmath>
#include <limits>

namespace framing {

namespace {
// How far a size is from the guide's, as a ratio: 10 % too big and 10 % too small count alike.
double SizeError(double size, double target) { return std::abs(std::log(size / target)); }
}  // namespace

HeadEstimate MoveWithBox(const HeadEstimate& head, const ui::Rect& from, const ui::Rect& to) {
    const double sx = static_cast<double>(to.width) / from.width;
    const double sy = static_cast<double>(to.height) / from.height;
    const auto across = [&](double x) { return to.left + (x - from.left) * sx; };
    const auto down = [&](double y) { return to.top + (y - from.top) * sy; };
    return {across(head.centerX), down(head.crownY), down(head.chinY), down(head.eyeY), head.width * sx};
}

std::optional<FramingPlan> PlanFraming(const HeadEstimate& head, const ui::Rect& boxNow, int positionNow,
                                       std::span<const ZoomStep> steps) {
    if (steps.empty() || boxNow.Empty() || head.width <= 0 || head.chinY <= head.crownY) return std::nullopt;
    const ZoomStep* best = nullptr;
    double bestError = std::numeric_limits<double>::infinity();
    for (const ZoomStep& step : steps) {
        if (step.box.Empty()) continue;
        const HeadEstimate scaled = MoveWithBox(head, boxNow, step.box);
        const double error = SizeError(scaled.chinY - scaled.crownY, kHeadLength.Middle());
        // A hair's difference does not move the slider.
        constexpr double kSameError = 1e-9;
        if (error < bestError - kSameError || (std::abs(error - bestError) <= kSameError && step.position == positionNow)) {
            best = &step;
            bestError = error;
        }
    }
    if (!best) return std::nullopt;

    // At the chosen step the box starts where the placement puts it, or stays where it is now
    // when the step is the present one.
    const ui::Rect start = best->position == positionNow
                               ? ui::Rect{boxNow.left, boxNow.top, best->box.width, best->box.height}
                               : best->box;
    const HeadEstimate there = MoveWithBox(head, boxNow, start);
    const double right = kGuideCentreX - there.centerX;
    const double down = BestDownShift(there.crownY, there.eyeY);
    return FramingPlan{best->position, {start.left + static_cast<int>(std::lround(right)),
                                        start.top + static_cast<int>(std::lround(down)), start.width, start.height}};
}

}  // namespace framing
