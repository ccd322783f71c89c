#include "frame_scaler.h"

namespace vedio {

void FrameScaler::Scale(const SourceFrame&, const TargetImage&) {}

}  // namespace vedio
