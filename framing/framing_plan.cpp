#include "framing/framing_plan.h"

#include "framing/guide_geometry.h"

#include <cmath>
#include <limits>

namespace framing {

namespace {
// How far a length lies outside a range, as a ratio: 10 % too long and 10 % too short count
// alike; 0 inside it.
double OutsideBy(double length, const Range& range) {
    if (length < range.low) return std::log(range.low / length);
    if (length > range.high) return std::log(length / range.high);
    return 0;
}

// The step whose length for the head suits the guide best; the present one while it lies in
// the range.
const ZoomStep* ChooseStep(const HeadEstimate& head, const ui::Rect& boxNow, int positionNow,
                           std::span<const ZoomStep> steps) {
    const Range spared{kHeadLength.low + kMeasureError.length, kHeadLength.high - kMeasureError.length};
    const ZoomStep* present = nullptr;
    const ZoomStep* best = nullptr;
    double bestLength = 0;
    // Better: inside with the measure's error to spare, then inside, then nearer the range;
    // among equals, the shorter head.
    const auto rank = [&](double length) {
        return std::pair{kHeadLength.Holds(length) ? (spared.Holds(length) ? 0 : 1) : 2, OutsideBy(length, kHeadLength)};
    };
    for (const ZoomStep& step : steps) {
        if (step.box.Empty()) continue;
        // The slider stays at the present position, and so does the box's size.
        const bool isPresent = step.position == positionNow;
        const HeadEstimate scaled = isPresent ? head : MoveWithBox(head, boxNow, step.box);
        const double length = scaled.chinY - scaled.crownY;
        if (isPresent && kHeadLength.Holds(length)) present = &step;
        if (!best || rank(length) < rank(bestLength) || (rank(length) == rank(bestLength) && length < bestLength)) {
            best = &step;
            bestLength = length;
        }
    }
    return present ? present : best;
}
}  // namespace

HeadEstimate MoveWithBox(const HeadEstimate& head, const ui::Rect& from, const ui::Rect& to) {
    const double sx = static_cast<double>(to.width) / from.width;
    const double sy = static_cast<double>(to.height) / from.height;
    const auto across = [&](double x) { return to.left + (x - from.left) * sx; };
    const auto down = [&](double y) { return to.top + (y - from.top) * sy; };
    return {across(head.centerX), down(head.crownY), down(head.chinY), down(head.eyeY), head.width * sx,
            head.crownMeasured};
}

std::optional<FramingPlan> PlanFraming(const HeadEstimate& head, const ui::Rect& boxNow, int positionNow,
                                       std::span<const ZoomStep> steps) {
    if (steps.empty() || boxNow.Empty() || head.width <= 0 || head.chinY <= head.crownY) return std::nullopt;
    const Fit fit = JudgeFit(head);
    if (fit == Fit::Fits || fit == Fit::CrownUnclear) return FramingPlan{positionNow, boxNow};
    const ZoomStep* best = ChooseStep(head, boxNow, positionNow, steps);
    if (!best) return std::nullopt;

    // At the chosen step the box starts where the placement puts it, or stays where it is now
    // when the step is the present one.
    const ui::Rect start = best->position == positionNow ? boxNow : best->box;
    const HeadEstimate there = MoveWithBox(head, boxNow, start);
    const double right = kGuideCentreX - there.centerX;
    const double down = BestDownShift(there.crownY, there.eyeY);
    return FramingPlan{best->position, {start.left + static_cast<int>(std::lround(right)),
                                        start.top + static_cast<int>(std::lround(down)), start.width, start.height}};
}

}  // namespace framing
