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
// whole camera picture stretched over it. The step whose scale gives the head the length
// nearest the guide's middle wins (the present one among equals); the box then moves so that
// the head's middle sits on the guide's middle line and its crown and eyes in their bands.
// Nullopt without steps or with a box without area.
std::optional<FramingPlan> PlanFraming(const HeadEstimate& head, const ui::Rect& boxNow, int positionNow,
                                       std::span<const ZoomStep> steps);

// Where a head found in the frame while the box lay at `from` lies once the box lies at `to`.
HeadEstimate MoveWithBox(const HeadEstimate& head, const ui::Rect& from, const ui::Rect& to);

}  // namespace framing
