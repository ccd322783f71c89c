#include "framing/guide_drawing.h"
#include "framing/guide_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using framing::Fit;
using framing::HeadEstimate;

// A head of the guide's middle size with its middle on the guide's line, its crown on the
// crown band's middle and its eyes half-way down: what the guide asks for.
HeadEstimate GuideHead() {
    const double crown = framing::kCrownLine.Middle();
    const double length = framing::kHeadLength.Middle();
    return {framing::kGuideCentreX, crown, crown + length, crown + 0.5 * length, framing::kHeadWidth.Middle(), true};
}

HeadEstimate Moved(HeadEstimate h, double right, double down) {
    h.centerX += right;
    h.crownY += down;
    h.chinY += down;
    h.eyeY += down;
    return h;
}

HeadEstimate Scaled(HeadEstimate h, double factor) {
    // About the crown, as a zoom that keeps the crown on its line would.
    h.width *= factor;
    h.chinY = h.crownY + (h.chinY - h.crownY) * factor;
    h.eyeY = h.crownY + (h.eyeY - h.crownY) * factor;
    return h;
}

TEST(GuideNumbers, AreTheLicencePhotosScaledToTheFrame) {
    // 260 x 378 file photos, scaled to 295 x 412.
    const double across = 295.0 / 260, down = 412.0 / 378;
    EXPECT_NEAR(framing::kHeadWidth.low, 165 * across, 3);
    EXPECT_NEAR(framing::kHeadWidth.high, 189 * across, 3);
    EXPECT_NEAR(framing::kHeadLength.low, 224 * down, 3);
    EXPECT_NEAR(framing::kHeadLength.high, 260 * down, 3);
    EXPECT_NEAR(framing::kCrownLine.low, 10 * down, 1);
    EXPECT_NEAR(framing::kCrownLine.high, 20 * down, 1);
    // The eyes stay in the upper half.
    EXPECT_LT(framing::kEyeLine.high, framing::kFrameHeight / 2.0);
}

TEST(GuideNumbers, FromSixHundredTwentyUpNeighbouringZoomStepsAreCloseEnoughForOneToLandInTheRange) {
    // Two neighbouring slider heights (620 ... 1024) scale a head by at most this much; the
    // length's range must hold a whole step so that the F key can always reach it there.
    const double widestStep = 720.0 / 620.0;
    EXPECT_GT(framing::kHeadLength.high / framing::kHeadLength.low, widestStep);
}

TEST(GuideFit, TheGuidesOwnHeadFitsAndStaysFittingWithinTheTolerance) {
    const HeadEstimate head = GuideHead();
    const framing::FitTolerance tolerance = framing::kFitTolerance;
    EXPECT_EQ(framing::JudgeFit(head), Fit::Fits);
    EXPECT_EQ(framing::JudgeFit(Moved(head, tolerance.across - 1, 0)), Fit::Fits);
    EXPECT_EQ(framing::JudgeFit(Moved(head, -tolerance.across + 1, 0)), Fit::Fits);
    EXPECT_EQ(framing::JudgeFit(Moved(head, 0, framing::kCrownLine.high - framing::kCrownLine.Middle() + tolerance.down)),
              Fit::Fits);
    // The chin alone moves: the crown and the eyes stay in their bands.
    const auto longAs = [&](double l) {
        HeadEstimate h = head;
        h.chinY = h.crownY + l;
        return h;
    };
    EXPECT_EQ(framing::JudgeFit(longAs(framing::kHeadLength.high + tolerance.length - 0.1)), Fit::Fits);
    EXPECT_EQ(framing::JudgeFit(longAs(framing::kHeadLength.low - tolerance.length + 0.1)), Fit::Fits);
    // One pixel further is too far.
    EXPECT_EQ(framing::JudgeFit(longAs(framing::kHeadLength.high + tolerance.length + 1)), Fit::TooBig);
    EXPECT_EQ(framing::JudgeFit(longAs(framing::kHeadLength.low - tolerance.length - 1)), Fit::TooSmall);
    EXPECT_EQ(framing::JudgeFit(Moved(head, 0, framing::kCrownLine.high - framing::kCrownLine.Middle() + tolerance.down + 1)),
              Fit::OffCentre);
    // A crown the picture could not show is never green, however well the guess fits.
    HeadEstimate guessed = head;
    guessed.crownMeasured = false;
    EXPECT_EQ(framing::JudgeFit(guessed), Fit::CrownUnclear);
    EXPECT_EQ(framing::JudgeFit(Scaled(guessed, 1.25)), Fit::TooBig);
}

TEST(GuideFit, SixtyPixelsOffInAnyDirectionIsOffCentre) {
    const HeadEstimate head = GuideHead();
    for (const auto& [right, down] : {std::pair{60.0, 0.0}, {-60.0, 0.0}, {0.0, 60.0}, {0.0, -60.0}})
        EXPECT_EQ(framing::JudgeFit(Moved(head, right, down)), Fit::OffCentre) << right << ", " << down;
}

TEST(GuideFit, SizeIsJudgedBeforePlace) {
    const HeadEstimate head = GuideHead();
    EXPECT_EQ(framing::JudgeFit(Scaled(head, 1.25)), Fit::TooBig);
    EXPECT_EQ(framing::JudgeFit(Scaled(head, 0.75)), Fit::TooSmall);
    EXPECT_EQ(framing::JudgeFit(Moved(Scaled(head, 0.5), 80, 100)), Fit::TooSmall);
    // The width alone does not decide: hair makes heads wide.
    HeadEstimate wideHair = head;
    wideHair.width = 1.2 * framing::kHeadWidth.high;
    EXPECT_EQ(framing::JudgeFit(wideHair), Fit::Fits);
    // A head of the right width but far too long is too big too.
    HeadEstimate longHead = head;
    longHead.chinY += 50;
    EXPECT_EQ(framing::JudgeFit(longHead), Fit::TooBig);
}

TEST(GuideFit, TheColourSaysFitsFoundOrNothing) {
    EXPECT_EQ(framing::ColourFor(Fit::Fits), framing::GuideColour::Green);
    EXPECT_EQ(framing::ColourFor(Fit::CrownUnclear), framing::GuideColour::Unsure);
    for (const Fit fit : {Fit::TooBig, Fit::TooSmall, Fit::OffCentre})
        EXPECT_EQ(framing::ColourFor(fit), framing::GuideColour::Amber);
    EXPECT_EQ(framing::ColourFor(std::nullopt), framing::GuideColour::Grey);
}

TEST(GuideFit, TheBestShiftPutsCrownAndEyesInTheirBands) {
    const double length = framing::kHeadLength.Middle();
    // Crown 40 px low: up to the crown band's middle, the eyes land in theirs.
    double crown = 56, eye = crown + 0.5 * length;
    double shift = framing::BestDownShift(crown, eye);
    EXPECT_TRUE(framing::kCrownLine.Holds(crown + shift));
    EXPECT_TRUE(framing::kEyeLine.Holds(eye + shift));
    // Eyes high in the head: the crown goes as low in its band as the eyes need.
    crown = 0, eye = 130;
    shift = framing::BestDownShift(crown, eye);
    EXPECT_TRUE(framing::kCrownLine.Holds(crown + shift));
    EXPECT_TRUE(framing::kEyeLine.Holds(eye + shift));
    EXPECT_GT(crown + shift, framing::kCrownLine.Middle());
    // Bands that cannot both hold (eyes far below the crown, or high in a tall forehead's
    // head): the crown keeps its band, at the end nearer the eyes' wish.
    EXPECT_DOUBLE_EQ(framing::BestDownShift(0, 250), framing::kCrownLine.low);
    EXPECT_DOUBLE_EQ(framing::BestDownShift(0, 100), framing::kCrownLine.high);
}

// ---- the drawn guide --------------------------------------------------------------------

bool At(const std::vector<std::uint8_t>& mask, int width, int x, int y) {
    return mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
}

TEST(GuideMask, DrawsTheOvalWhereTheHeadGoesAndLeavesTheFaceClear) {
    const int w = framing::kFrameWidth, h = framing::kFrameHeight;
    const std::vector<std::uint8_t> mask = framing::GuideMask(w, h);
    ASSERT_EQ(mask.size(), static_cast<std::size_t>(w * h));
    const framing::GuideOutline o = framing::GuideOutlineFor();
    const int cx = static_cast<int>(o.ovalCentreX), cy = static_cast<int>(o.ovalCentreY);
    // The oval's four extremes: top on the crown band, sides at the head's half width.
    EXPECT_TRUE(At(mask, w, cx, static_cast<int>(framing::kCrownLine.Middle())));
    EXPECT_TRUE(At(mask, w, cx, static_cast<int>(std::lround(cy + o.ovalHalfHeight - 0.5))));
    EXPECT_TRUE(At(mask, w, static_cast<int>(std::lround(cx - o.ovalHalfWidth)), cy));
    EXPECT_TRUE(At(mask, w, static_cast<int>(std::lround(cx + o.ovalHalfWidth)), cy));
    // Inside, where the face is, nothing; nor in the corners.
    for (int y = cy - 90; y <= cy + 90; ++y)
        for (int x = cx - 50; x <= cx + 50; ++x) ASSERT_FALSE(At(mask, w, x, y)) << x << ", " << y;
    EXPECT_FALSE(At(mask, w, 0, 0));
    EXPECT_FALSE(At(mask, w, w - 1, h - 1));
    // The eye band's brackets at both edges, the crown marks beside the oval's top.
    const int eyes = static_cast<int>(framing::kEyeLine.Middle());
    EXPECT_TRUE(At(mask, w, 3, eyes));
    EXPECT_TRUE(At(mask, w, w - 4, eyes));
    EXPECT_TRUE(At(mask, w, cx - 45, static_cast<int>(framing::kCrownLine.low)));
    EXPECT_TRUE(At(mask, w, cx + 45, static_cast<int>(framing::kCrownLine.high)));
}

TEST(GuideMask, LinesAreThinAndTheGuideCoversLittleOfTheFrame) {
    const int w = framing::kFrameWidth, h = framing::kFrameHeight;
    const std::vector<std::uint8_t> mask = framing::GuideMask(w, h);
    // Across the oval's middle row: two runs of about the line width.
    const int cy = static_cast<int>(framing::GuideOutlineFor().ovalCentreY);
    int runs = 0, longest = 0, run = 0;
    for (int x = 20; x < w - 20; ++x) {
        if (At(mask, w, x, cy)) {
            runs += run == 0;
            longest = std::max(longest, ++run);
        } else {
            run = 0;
        }
    }
    EXPECT_EQ(runs, 2);
    EXPECT_LE(longest, 3);
    long covered = 0;
    for (std::uint8_t m : mask) covered += m;
    EXPECT_LT(covered, w * h / 50) << "more than 2 % of the frame";
    EXPECT_GT(covered, 1000);
}

TEST(GuideMask, ScalesWithTheSizeAndRefusesNone) {
    const std::vector<std::uint8_t> twice = framing::GuideMask(2 * framing::kFrameWidth, 2 * framing::kFrameHeight);
    const std::vector<std::uint8_t> once = framing::GuideMask(framing::kFrameWidth, framing::kFrameHeight);
    const int cx = static_cast<int>(framing::kGuideCentreX);
    const int top = static_cast<int>(framing::kCrownLine.Middle());
    EXPECT_TRUE(At(once, framing::kFrameWidth, cx, top));
    EXPECT_TRUE(At(twice, 2 * framing::kFrameWidth, 2 * cx, 2 * top));
    EXPECT_TRUE(framing::GuideMask(0, 10).empty());
    EXPECT_TRUE(framing::GuideMask(10, -1).empty());
}

}  // namespace
