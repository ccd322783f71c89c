// Merging the cascade's raw hits: a face passes in many neighbouring windows of nearby sizes,
// while a stray pattern passes in one or two.
#pragma once

#include "framing/face_detector.h"

#include <vector>

namespace framing {

// Hits joined in chains of neighbours (centres within a quarter of the smaller width of each
// other, widths within 30 %); a group of at least `minHits` becomes one box, the mean of its
// hits. A box whose centre lies inside a box of more hits is dropped. Largest first.
std::vector<FaceBox> GroupHits(const std::vector<FaceBox>& hits, int minHits);

}  // namespace framing
