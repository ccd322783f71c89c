// The head measured in the picture, not only guessed from the face box: the crown found where
// the hair meets the backdrop a photo desk stands the trainee before, and the chin checked
// against the jaw's edge. Where the picture cannot tell (a busy backdrop, the head touching
// the frame's top, no clear edge), the face box's ratios stand and the head says so.
// Portable: the live check runs it on the frame it rendered, the tests on real portraits.
#pragma once

#include "framing/face_detector.h"

#include <cstddef>
#include <cstdint>

namespace framing {

// A 32-bit picture owned by someone else: blue, green, red, unused; top row first.
struct BgrxView {
    const std::uint8_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
};

// Why a crown was or was not measured.
enum class CrownReading {
    Measured,
    BusyBackdrop,  // the frame's top edge is no plain backdrop: nothing to tell hair from
    TouchesTop,    // the head reaches the frame's top edge: its crown is outside
    NoEdge,        // no clear edge above the face, or one too far from where a head has it
};

struct HeadMeasure {
    HeadEstimate head;    // estimate's values, crown and chin replaced where measured
    CrownReading crown;
    bool chinMeasured;    // the jaw's edge was clear and near where the ratio puts it
};

// `estimate` comes from the face box (EstimateHead), in the picture's pixels.
HeadMeasure MeasureHead(const BgrxView& picture, const HeadEstimate& estimate);

}  // namespace framing
