// Framing a found head in one go: which of the zoom slider's heights and which place of the
// preview box bring the head closest to the guide. The zoom steps come from whoever owns the
// preview's placement; the plan only scales and moves the picture the box shows.
#pragma once

#include "framing/face_detector.h"
#include "ui/template.h"

#include <optional>
#include <span>

namespace framing {

// One position of the zoom slider and the box the preview takes there, relative to the frame
// (where the placement puts it before any pan).
struct ZoomStep {
    int position;
    ui::Rect box;
};

struct FramingPlan {
    int zoomPosition;
    ui::Rect box;  // where the preview box goes, relative to the frame
};

// `head` was found in the frame (frame pixels) while the box lay at `boxNow`, which shows the
// whole camera picture stretched over it. A head that fits the guide with no tolerance stays
// where it is (the plan is the present position and box). Otherwise the zoom step is the
// present one when the head's length there lies in the guide's range, else the step that
// brings it inside the range (the smaller head when two do; a step with the measure's own
// error to spare before one without), else the step nearest the range; the box then moves so
// that the head's middle sits on the guide's middle line and its crown and eyes in their
// bands. Nullopt without steps or with a box without area.
std::optional<FramingPlan> PlanFraming(const HeadEstimate& head, const ui::Rect& boxNow, int positionNow,
                                       std::span<const ZoomStep> steps);

// Where a head found in the frame while the box lay at `from` lies once the box lies at `to`.
HeadEstimate MoveWithBox(const HeadEstimate& head, const ui::Rect& from, const ui::Rect& to);

}  // namespace framing
