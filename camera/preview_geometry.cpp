#include "camera/preview_geometry.h"

namespace camera {

ui::Rect PreviewRect(int) { return {}; }
std::optional<int> ZoomHeight(int) { return std::nullopt; }

}  // namespace camera
