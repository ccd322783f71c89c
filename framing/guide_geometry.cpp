#include "framing/guide_geometry.h"

#include <algorithm>
#include <cmath>

namespace framing {

Fit JudgeFit(const HeadEstimate& head, const FitTolerance& tolerance) {
    const double length = head.chinY - head.crownY;
    if (length > kHeadLength.high + tolerance.length) return Fit::TooBig;
    if (length < kHeadLength.low - tolerance.length) return Fit::TooSmall;
    const bool across = std::abs(head.centerX - kGuideCentreX) <= tolerance.across;
    const bool down = kCrownLine.Holds(head.crownY, tolerance.down) && kEyeLine.Holds(head.eyeY, tolerance.down);
    if (!across || !down) return Fit::OffCentre;
    return head.crownMeasured ? Fit::Fits : Fit::CrownUnclear;
}

GuideColour ColourFor(const std::optional<Fit>& fit) {
    if (!fit) return GuideColour::Grey;
    if (*fit == Fit::CrownUnclear) return GuideColour::Unsure;
    return *fit == Fit::Fits ? GuideColour::Green : GuideColour::Amber;
}

GuideOutline GuideOutlineFor() {
    const double halfHeight = kHeadLength.Middle() / 2;
    return {kGuideCentreX, kCrownLine.Middle() + halfHeight, kHeadWidth.Middle() / 2, halfHeight, kCrownLine,
            kEyeLine};
}

double BestDownShift(double crownY, double eyeY) {
    // The shifts each band accepts; both hold for a shift in their overlap.
    const double crownLow = kCrownLine.low - crownY, crownHigh = kCrownLine.high - crownY;
    const double eyeLow = kEyeLine.low - eyeY, eyeHigh = kEyeLine.high - eyeY;
    const double low = std::max(crownLow, eyeLow);
    const double high = std::min(crownHigh, eyeHigh);
    if (low <= high) return std::clamp(kCrownLine.Middle() - crownY, low, high);
    // No shift satisfies both: the crown's margin is what the photo norms state, the eye band
    // only follows from them; the crown stays in its band, at the end nearer the eyes' wish.
    return std::clamp((eyeLow + eyeHigh) / 2, crownLow, crownHigh);
}

}  // namespace framing
