#include "capture_format.h"

namespace vedio {

std::optional<FrameSize> ChooseFrameSize(std::span<const FrameSize>) { return std::nullopt; }

}  // namespace vedio
