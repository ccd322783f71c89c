// Where the head goes in the portrait frame, and whether a head found in the frame sits
// there. The numbers live here alone: the guide drawn over the preview, the live check's
// colour and the F key's framing all take them from this file.
#pragma once

#include "framing/face_detector.h"

#include <optional>

namespace framing {

// The portrait frame the guide lies over, in pixels (the one-inch photo as it is saved).
inline constexpr int kFrameWidth = 295;
inline constexpr int kFrameHeight = 412;

// The head's place in the frame, in frame pixels, each as a range the photo may use.
//
// Where the numbers come from:
// - Driver-licence file photos are 260 x 378 at 300 dpi and want a head 165-189 px wide, a head
//   224-260 px long from crown to chin, and the crown 10-20 px below the top edge.
// - Resident-ID photos want the face at about 58 % of the photo's width and the eyes in its
//   upper half.
// Scaled to our 295 x 412 frame (x 295/260 across, x 412/378 down) those are a head 187-214 px
// wide, 244-283 px long and the crown 11-22 px below the top; in round numbers a head 185-215
// px wide and 245-285 px long. The face alone at 58 % of 295 px is 171 px: ears and hair make
// the head wider. The eyes go 36-48 % of the height from the top, in the upper half and where a
// head of that length with its crown on the line has them.
struct Range {
    double low, high;
    constexpr double Middle() const { return (low + high) / 2; }
    constexpr bool Holds(double value, double tolerance = 0) const {
        return value >= low - tolerance && value <= high + tolerance;
    }
};
inline constexpr Range kHeadWidth{185, 215};
inline constexpr Range kHeadLength{245, 285};
inline constexpr Range kCrownLine{11, 22};
inline constexpr Range kEyeLine{0.36 * kFrameHeight, 0.48 * kFrameHeight};  // 148.3-197.8
inline constexpr double kGuideCentreX = kFrameWidth / 2.0;

// How far the measured head can be from the true one. The crown and the chin are measured in
// the picture (framing/head_measure.h); on the marked portraits of the tests
// (tests/photos/README.md), placed at five sizes and places and looked at as the live check
// and the F key look, the measured crown lay within 2 px of the marked one and the head's
// length within 7 px, 3.3 % (tests/native/head_measure_test.cpp checks that it stays so).
struct MeasureError {
    double crown, length;
};
inline constexpr MeasureError kMeasureError{2, 7};

// How far a measured head may stray beyond the ranges and still show green. Green means the
// photo would pass: in size and down none at all, so that a green head's true length and
// crown lie at most the measure's error beyond their ranges. Across, the middle comes from the
// face box, which wanders by a few pixels from one frame to the next: within 15 px of the
// guide's middle line. The F key frames to these as well.
struct FitTolerance {
    double length = 0;
    double across = 15;
    double down = 0;
};
inline constexpr FitTolerance kFitTolerance{};

// CrownUnclear: the head would fit, but its crown could not be measured (a busy backdrop,
// the head touching the frame's top), so the ratios guessed it: it may not.
enum class Fit { Fits, TooBig, TooSmall, OffCentre, CrownUnclear };

// A head (frame pixels) against the guide: size first, then place, then whether its crown
// was measured.
Fit JudgeFit(const HeadEstimate& head, const FitTolerance& tolerance = kFitTolerance);

// The colour the guide shows: green when the head fits, amber when a head is found that
// does not, amber-grey when it would fit but its crown could not be seen ("看不清头顶"),
// grey when no head is found.
enum class GuideColour { Green, Amber, Unsure, Grey };
GuideColour ColourFor(const std::optional<Fit>& fit);

// The outline the guide draws, in frame pixels: the head oval at the middle of the size
// ranges, its top on the middle of the crown band; short marks across at the crown line's
// two ends of its band, and brackets at the frame's sides for the eye band.
struct GuideOutline {
    double ovalCentreX, ovalCentreY, ovalHalfWidth, ovalHalfHeight;
    Range crownBand;  // marks at its top and bottom, left and right of the oval's top
    Range eyeBand;    // brackets at the frame's left and right edges
};
GuideOutline GuideOutlineFor();

// How far a head's crown and eyes must move down (negative: up) to sit best in their bands:
// inside both when the bands allow it (nearest the middle of the crown band), otherwise the
// crown inside its band as near as it allows to where the eyes want it.
double BestDownShift(double crownY, double eyeY);

}  // namespace framing
