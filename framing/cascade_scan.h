// Runs a cascade over every window of a picture at every size: the raw hits, before the
// overlapping ones are merged into faces.
#pragma once

#include "framing/face_detector.h"
#include "framing/lbp_cascade.h"

#include <vector>

namespace framing {

struct ScanSettings {
    double scaleStep = 1.1;       // each size of window this much larger than the one before
    double fineStepBelow = 2.0;   // windows up to this many times the cascade's size move two
                                  // pixels of the reduced picture at a time, larger ones one
};

// Every window that passes all stages, in pixels of `image`. Windows from the cascade's own
// size up to the largest that fits.
std::vector<FaceBox> ScanForHits(const GrayView& image, const cascade::Table& table, const ScanSettings& settings = {});

}  // namespace framing
