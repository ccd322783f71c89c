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

// How far a head may stray beyond those ranges and still fit. The head is estimated from the
// face the detector finds, whose box wanders by a few per cent from one frame to the next and
// whose relation to crown and chin differs from one person to the next by about 7 % (the two
// test portraits, framing/head_estimate.cpp); a tighter tolerance would make the colour
// flicker on a well framed head.
//   size: the head's length within 20 px beyond either end of its range (225-305 px). The
//         length alone decides: it is the measure the licence photos state first, and a
//         head's width changes with the hair (the oval shows the width for the eye);
//   place: the head's middle within 15 px of the guide's middle line across, and the crown
//          and the eyes within 12 px of their bands.
// The zoom slider's heights lie at most 24 % apart from 420 px up, so one of them always
// brings a head's length within this size tolerance.
struct FitTolerance {
    double length = 20;
    double across = 15;
    double down = 12;
};
inline constexpr FitTolerance kFitTolerance{};

enum class Fit { Fits, TooBig, TooSmall, OffCentre };

// A head (frame pixels) against the guide: size first, then place.
Fit JudgeFit(const HeadEstimate& head, const FitTolerance& tolerance = kFitTolerance);

// The colour the guide shows: green when the head fits, amber when a head is found that
// does not, grey when none is found.
enum class GuideColour { Green, Amber, Grey };
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
// inside both when the bands allow it (nearest the middle of the crown band), otherwise
// half-way between what each band asks.
double BestDownShift(double crownY, double eyeY);

}  // namespace framing
