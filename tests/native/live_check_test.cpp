// The live check and the F key on real photographs: a portrait placed in the 295 x 412 frame
// as the preview shows it, the head looked for as the head watch looks, judged against the
// guide, and a small off-centre head framed by the plan and looked at again.
#include "app/head_framing.h"
#include "framing/framing_plan.h"
#include "framing/guide_geometry.h"
#include "framing/head_watch.h"
#include "photo_frames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using framing::Fit;
using test_photos::FaceTruth;

// Where a photo lies in the frame: photo pixel (px, py) at (x + px * scale, y + py * scale).
struct InFrame {
    double x, y, scale;
};

// The photo placed so that its true head has its middle at `centreX`, its crown at `crownY`
// and is `length` long, in frame pixels. A crown hidden under a cap is not known: such a head
// is placed by its eyes and chin instead, the eyes where a head of that length has them on
// the guide (54 % of the way from crown to chin).
InFrame HeadAt(const FaceTruth& face, double centreX, double crownY, double length) {
    if (face.crownSeen) {
        const double scale = length / (face.chinY - face.crownY);
        return {centreX - face.middleX * scale, crownY - face.crownY * scale, scale};
    }
    const double eyes = crownY + 0.54 * length, chin = crownY + length;
    const double scale = (chin - eyes) / (face.chinY - face.eyeY);
    return {centreX - face.middleX * scale, eyes - face.eyeY * scale, scale};
}

framing::FramePicture Frame(const vedio::photo::StillPhoto& photo, const InFrame& at) {
    const photo_frames::Frame f = photo_frames::Placed(photo, {at.x, at.y, at.scale}, framing::kFrameWidth, framing::kFrameHeight);
    return {f.width, f.height, f.bgrx};
}

// A look as the live check makes it, or as the F key makes it.
std::optional<framing::HeadEstimate> Look(const vedio::photo::StillPhoto& photo, const InFrame& at) {
    return framing::FindHead(Frame(photo, at), framing::HeadWatch::kLiveSearchWidth);
}
std::optional<framing::HeadEstimate> LookToFrame(const vedio::photo::StillPhoto& photo, const InFrame& at) {
    return framing::FindHead(Frame(photo, at), framing::HeadWatch::kFrameSearchWidth);
}

// Where the photo's head truly lies in the frame at `at`.
framing::HeadEstimate TrueHead(const FaceTruth& face, const InFrame& at) {
    const auto down = [&](double y) { return at.y + y * at.scale; };
    return {at.x + face.middleX * at.scale, down(face.crownY), down(face.chinY), down(face.eyeY), face.headWidth * at.scale,
            true};
}

// A look judged as the truth is: where the crown was read, as the true head is judged; where
// it was not, never green (and a busy backdrop or a cap is never read).
void ExpectJudgedAsTheTruth(const FaceTruth& face, const InFrame& at, const std::optional<framing::HeadEstimate>& found) {
    ASSERT_TRUE(found) << "no head found";
    const Fit fit = framing::JudgeFit(*found);
    const std::string where = "found middle " + std::to_string(found->centerX) + ", crown " + std::to_string(found->crownY) +
                              ", eyes " + std::to_string(found->eyeY) + ", chin " + std::to_string(found->chinY);
    if (face.backdrop == FaceTruth::Busy || !face.crownSeen) {
        EXPECT_FALSE(found->crownMeasured) << where;
    }
    if (found->crownMeasured) {
        EXPECT_EQ(fit, framing::JudgeFit(TrueHead(face, at))) << where;
    } else {
        EXPECT_NE(fit, Fit::Fits) << where;
    }
}

TEST(LiveCheck, AHeadPlacedOnTheGuideIsGreenAndSixtyPixelsOffIsAmber) {
    SKIP_WITHOUT_PHOTOS();
    for (const FaceTruth& face : test_photos::kEvery) {
        SCOPED_TRACE(face.file);
        const auto photo = photo_frames::LoadPhoto(face);
        ASSERT_TRUE(photo);
        const double cx = framing::kGuideCentreX, crown = framing::kCrownLine.Middle();
        const double length = framing::kHeadLength.Middle();
        ExpectJudgedAsTheTruth(face, HeadAt(face, cx, crown, length), Look(*photo, HeadAt(face, cx, crown, length)));
        for (const auto& [right, down] : {std::pair{60.0, 0.0}, {-60.0, 0.0}, {0.0, 60.0}}) {
            SCOPED_TRACE(std::to_string(right) + ", " + std::to_string(down) + " off");
            const InFrame off = HeadAt(face, cx + right, crown + down, length);
            ExpectJudgedAsTheTruth(face, off, Look(*photo, off));
        }
        const InFrame small = HeadAt(face, cx, crown + 40, 0.75 * length);
        ExpectJudgedAsTheTruth(face, small, Look(*photo, small));
        // Far smaller heads are below what the live check looks for; the F key finds them.
        const InFrame tiny = HeadAt(face, cx, crown + 60, 0.5 * length);
        EXPECT_FALSE(Look(*photo, tiny));
        EXPECT_TRUE(LookToFrame(*photo, tiny));
    }
}

TEST(LiveCheck, TheFKeysPlanLandsTheTrueHeadInsideTheGuidesRangesAndTheNextLookAgrees) {
    SKIP_WITHOUT_PHOTOS();
    for (const FaceTruth& face : test_photos::kEvery) {
        if (face.backdrop != FaceTruth::Plain) continue;  // a guessed crown frames as well as it guesses
        SCOPED_TRACE(face.file);
        const auto photo = photo_frames::LoadPhoto(face);
        ASSERT_TRUE(photo);
        // The preview at start-up (position 8 would be 820; the start-up box is 800 high), the
        // head small, left and low.
        const ui::Rect box{-367, -200, 1421, 800};
        const InFrame before = HeadAt(face, 80, 90, 215);
        const auto found = LookToFrame(*photo, before);
        ASSERT_TRUE(found);
        const auto plan = framing::PlanFraming(*found, box, 3, app::ZoomSteps());
        ASSERT_TRUE(plan);
        // The picture follows the box: scaled about the box's corner and moved with it.
        const double scale = static_cast<double>(plan->box.height) / box.height;
        const InFrame after{plan->box.left + (before.x - box.left) * scale, plan->box.top + (before.y - box.top) * scale,
                            before.scale * scale};
        const framing::HeadEstimate truth = TrueHead(face, after);
        EXPECT_TRUE(framing::kHeadLength.Holds(truth.chinY - truth.crownY)) << "position " << plan->zoomPosition << ": "
                                                                         << truth.chinY - truth.crownY << " px long";
        EXPECT_TRUE(framing::kCrownLine.Holds(truth.crownY)) << "crown at " << truth.crownY;
        EXPECT_NEAR(truth.centerX, framing::kGuideCentreX, framing::kFitTolerance.across);
        ExpectJudgedAsTheTruth(face, after, Look(*photo, after));
    }
}

TEST(LiveCheck, GreenNeverShowsWhileTheTrueHeadLiesOutsideItsRangesByMoreThanTheTolerance) {
    SKIP_WITHOUT_PHOTOS();
    const framing::MeasureError e = framing::kMeasureError;
    int greens = 0;
    for (const FaceTruth& face : test_photos::kEvery) {
        if (!face.crownSeen) continue;  // its true crown is not known
        const auto photo = photo_frames::LoadPhoto(face);
        ASSERT_TRUE(photo);
        // Sizes from far too small to far too big, the crown at the band's middle and at its
        // ends, as a head moves through the frame.
        for (double length = 215; length <= 315; length += 4) {
            for (const double crown : {framing::kCrownLine.low - 4, framing::kCrownLine.Middle(), framing::kCrownLine.high + 4}) {
                const auto head = Look(*photo, HeadAt(face, framing::kGuideCentreX, crown, length));
                if (!head || framing::JudgeFit(*head) != Fit::Fits) continue;
                ++greens;
                EXPECT_TRUE(framing::kHeadLength.Holds(length, e.length) && framing::kCrownLine.Holds(crown, e.crown))
                    << face.file << ": green for a head " << length << " px long with its crown at " << crown
                    << " (measured " << head->chinY - head->crownY << ", crown " << head->crownY << ")";
            }
        }
    }
    EXPECT_GT(greens, 0) << "never green: the sweep proves nothing";
}

}  // namespace
