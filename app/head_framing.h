// The F key: the head the framing guide's look found, brought to the guide with the zoom
// slider and the preview box, as the operator would with the slider and a drag.
#pragma once

#include "framing/framing_plan.h"
#include "framing/head_watch.h"

#include <vector>

namespace camera {
class CameraPanel;
}

namespace app {

// The zoom slider's ten positions with the box the placement gives each.
std::vector<framing::ZoomStep> ZoomSteps();

// Moves the slider (when the plan's position differs) and then the box, through the camera
// panel's own handlers. A finding without a head does nothing.
void FrameHead(camera::CameraPanel& camera, const framing::HeadFinding& finding);

}  // namespace app
