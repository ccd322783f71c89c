#include "test_pattern.h"

namespace vedio::pattern {

void Draw(std::uint64_t, std::uint8_t*) {}

}  // namespace vedio::pattern
