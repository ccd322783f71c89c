#include "app/head_framing.h"
#include "camera/preview_geometry.h"

namespace app {

std::vector<framing::ZoomStep> ZoomSteps() {
    std::vector<framing::ZoomStep> steps;
    for (int position = 1; position <= 10; ++position)
        if (const std::optional<int> height = camera::ZoomHeight(position))
            steps.push_back({position, camera::PreviewRect(*height)});
    return steps;
}

}  // namespace app
