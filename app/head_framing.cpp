#include "app/head_framing.h"

#include "camera/camera_panel.h"

namespace app {

void FrameHead(camera::CameraPanel& camera, const framing::HeadFinding& finding) {
    if (!finding.head) return;
    const std::vector<framing::ZoomStep> steps = ZoomSteps();
    // Planned from where the box lay when the picture was taken, applied to where it lies now.
    const std::optional<framing::FramingPlan> plan =
        framing::PlanFraming(*finding.head, finding.context.box, finding.context.zoomPosition, steps);
    if (!plan) return;
    if (plan->zoomPosition != camera.ZoomPosition()) camera.MoveZoomTo(plan->zoomPosition);
    const ui::Rect box = camera.PreviewBox();
    if (box.left != plan->box.left || box.top != plan->box.top)
        camera.Nudge(plan->box.left - box.left, plan->box.top - box.top);
}

}  // namespace app
