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

const FaceTruth kPhotos[] = {test_photos::kAstronaut, test_photos::kGraceHopper};

TEST(LiveCheck, AHeadPlacedOnTheGuideIsGreenAndSixtyPixelsOffIsAmber) {
    SKIP_WITHOUT_PHOTOS();
    for (const FaceTruth& face : kPhotos) {
        SCOPED_TRACE(face.file);
        const auto photo = photo_frames::LoadPhoto(face);
        ASSERT_TRUE(photo);
        const double cx = framing::kGuideCentreX, crown = framing::kCrownLine.Middle();
        const double length = framing::kHeadLength.Middle();
        const auto on = Look(*photo, HeadAt(face, cx, crown, length));
        ASSERT_TRUE(on) << "no head found on the guide";
        EXPECT_EQ(framing::JudgeFit(*on), Fit::Fits)
            << "found middle " << on->centerX << ", crown " << on->crownY << ", eyes " << on->eyeY << ", chin " << on->chinY;
        for (const auto& [right, down] : {std::pair{60.0, 0.0}, {-60.0, 0.0}, {0.0, 60.0}}) {
            const auto off = Look(*photo, HeadAt(face, cx + right, crown + down, length));
            ASSERT_TRUE(off) << right << ", " << down;
            EXPECT_EQ(framing::JudgeFit(*off), Fit::OffCentre) << right << ", " << down;
        }
        const auto small = Look(*photo, HeadAt(face, cx, crown + 40, 0.75 * length));
        ASSERT_TRUE(small);
        EXPECT_EQ(framing::JudgeFit(*small), Fit::TooSmall);
        // Far smaller heads are below what the live check looks for; the F key finds them.
        const InFrame tiny = HeadAt(face, cx, crown + 60, 0.5 * length);
        EXPECT_FALSE(Look(*photo, tiny));
        EXPECT_TRUE(LookToFrame(*photo, tiny));
    }
}

TEST(LiveCheck, TheFKeysPlanLandsAHeadWhereTheNextLookFindsItFitting) {
    SKIP_WITHOUT_PHOTOS();
    for (const FaceTruth& face : kPhotos) {
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
        const auto again = Look(*photo, after);
        ASSERT_TRUE(again);
        EXPECT_EQ(framing::JudgeFit(*again), Fit::Fits)
            << "position " << plan->zoomPosition << ": middle " << again->centerX << ", crown " << again->crownY
            << ", eyes " << again->eyeY << ", chin " << again->chinY;
    }
}

}  // namespace
