#include "camera/preview_geometry.h"

namespace camera {

namespace {
// The one-inch photo's proportions and the point of the frame the box is centred on.
constexpr double kAspect = 1.777;
constexpr double kCentreX = 343.0;
constexpr double kCentreY = 200.0;
}  // namespace

// static_cast truncates toward zero, as the placement wants (-367.5 gives -367).
int PreviewWidth(int height) { return static_cast<int>(height * kAspect); }
int PreviewLeft(int width) { return static_cast<int>(kCentreX - width / 2.0); }
int PreviewTop(int height) { return static_cast<int>(kCentreY - height / 2.0); }

ui::Rect PreviewRect(int height) {
    const int width = PreviewWidth(height);
    return {PreviewLeft(width), PreviewTop(height), width, height};
}

std::optional<int> ZoomHeight(int position) {
    if (position < 1 || position > 10) return std::nullopt;
    // The scale label promises 1024 at the top end, not the 1020 the step would give.
    if (position == 10) return 1024;
    return 20 + 100 * position;
}

}  // namespace camera
