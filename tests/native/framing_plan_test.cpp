#include "app/head_framing.h"
#include "camera/preview_geometry.h"
#include "framing/framing_plan.h"
#include "framing/guide_geometry.h"

#include <gtest/gtest.h>

namespace {

using framing::Fit;
using framing::HeadEstimate;
using ui::Rect;

// A head `width` wide whose proportions are a real head's: 1.3 times as long as wide, the
// eyes a little below half-way.
HeadEstimate HeadAt(double centerX, double crownY, double width) {
    const double length = 1.3 * width;
    return {centerX, crownY, crownY + length, crownY + 0.52 * length, width, true};
}

Rect BoxAt(int position) { return camera::PreviewRect(*camera::ZoomHeight(position)); }

TEST(ZoomSteps, AreTheSlidersTenPositionsWithThePlacementsBoxes) {
    const std::vector<framing::ZoomStep> steps = app::ZoomSteps();
    ASSERT_EQ(steps.size(), 10u);
    for (int p = 1; p <= 10; ++p) {
        EXPECT_EQ(steps[static_cast<std::size_t>(p - 1)].position, p);
        EXPECT_EQ(steps[static_cast<std::size_t>(p - 1)].box, BoxAt(p));
    }
}

TEST(FramingPlan, ATooSmallOffCentreHeadIsZoomedAndMovedOntoTheGuide) {
    // At position 6 (620 px high) the head is 150 px wide, left and low in the frame.
    const Rect now = BoxAt(6);
    const HeadEstimate head = HeadAt(70, 90, 150);
    ASSERT_EQ(framing::JudgeFit(head), Fit::TooSmall);
    const auto plan = framing::PlanFraming(head, now, 6, app::ZoomSteps());
    ASSERT_TRUE(plan);
    // 150 x 820 / 620 = 198: position 8 is the one that gives the guide's size.
    EXPECT_EQ(plan->zoomPosition, 8);
    EXPECT_EQ(plan->box.width, BoxAt(8).width);
    EXPECT_EQ(plan->box.height, BoxAt(8).height);
    const HeadEstimate framed = framing::MoveWithBox(head, now, plan->box);
    EXPECT_NEAR(framed.centerX, framing::kGuideCentreX, 1.0);
    EXPECT_TRUE(framing::kCrownLine.Holds(framed.crownY, 0.5)) << framed.crownY;
    EXPECT_TRUE(framing::kEyeLine.Holds(framed.eyeY, 0.5)) << framed.eyeY;
    EXPECT_EQ(framing::JudgeFit(framed), Fit::Fits);
}

TEST(FramingPlan, AHeadOfTheRightSizeOnlyMovesTheBox) {
    // The head fits in size at the present position but lies 60 px right of the guide.
    const Rect now{-300, -150, BoxAt(8).width, BoxAt(8).height};  // dragged away from the placement
    const HeadEstimate head = HeadAt(framing::kGuideCentreX + 60, framing::kCrownLine.Middle(), 200);
    ASSERT_EQ(framing::JudgeFit(head), Fit::OffCentre);
    const auto plan = framing::PlanFraming(head, now, 8, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 8);
    EXPECT_EQ(plan->box.left, now.left - 60);
    EXPECT_NEAR(plan->box.top, now.top, 1);
    EXPECT_EQ(framing::JudgeFit(framing::MoveWithBox(head, now, plan->box)), Fit::Fits);
}

TEST(FramingPlan, AFramedHeadStaysWhereItIs) {
    const Rect now = BoxAt(7);
    const HeadEstimate head = HeadAt(framing::kGuideCentreX, framing::kCrownLine.Middle(), 200);
    const auto plan = framing::PlanFraming(head, now, 7, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 7);
    EXPECT_EQ(plan->box, now);
}

TEST(FramingPlan, AHeadTooBigForEveryPositionGetsTheSmallest) {
    const Rect now = BoxAt(10);
    const auto plan = framing::PlanFraming(HeadAt(150, 0, 2000), now, 10, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 1);
}

TEST(FramingPlan, TheStepWithTheMeasuresErrorToSpareWinsThenTheShorterHeadAndThePresentSizeStaysWhileInside) {
    // The start-up box (800 high); the slider elsewhere, so that every step counts.
    const Rect now{-367, -200, 1421, 800};
    const auto lengthAt = [](double length) { return HeadAt(framing::kGuideCentreX, 40, length / 1.3); };
    // 244 px long now: 250 at 820 and 280 at 920 both lie inside with the error to spare.
    auto plan = framing::PlanFraming(lengthAt(244), now, 3, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 8);
    // 240 px long now: 246 at 820 lies inside but within the error of its end, 276 at 920 not.
    plan = framing::PlanFraming(lengthAt(240), now, 3, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 9);
    // Inside already at the present position: the slider and the box's size stay.
    plan = framing::PlanFraming(HeadAt(framing::kGuideCentreX + 40, 40, 250 / 1.3), now, 8, app::ZoomSteps());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->zoomPosition, 8);
    EXPECT_EQ(plan->box.width, now.width);
    EXPECT_EQ(plan->box.height, now.height);
    EXPECT_EQ(plan->box.left, now.left - 40);
}

TEST(FramingPlan, NoStepsOrNoHeadGivesNoPlan) {
    const HeadEstimate head = HeadAt(150, 20, 200);
    EXPECT_FALSE(framing::PlanFraming(head, BoxAt(3), 3, {}));
    EXPECT_FALSE(framing::PlanFraming(head, Rect{0, 0, 0, 0}, 3, app::ZoomSteps()));
    EXPECT_FALSE(framing::PlanFraming(HeadAt(150, 20, 0), BoxAt(3), 3, app::ZoomSteps()));
}

TEST(MoveWithBox, FollowsThePictureItsBoxShows) {
    const HeadEstimate head{100, 50, 250, 150, 80};
    // The box moved right and down: the head moves with it.
    const HeadEstimate moved = framing::MoveWithBox(head, {0, 0, 400, 300}, {10, -20, 400, 300});
    EXPECT_DOUBLE_EQ(moved.centerX, 110);
    EXPECT_DOUBLE_EQ(moved.crownY, 30);
    EXPECT_DOUBLE_EQ(moved.width, 80);
    // Twice the size about the box's corner.
    const HeadEstimate grown = framing::MoveWithBox(head, {0, 0, 400, 300}, {0, 0, 800, 600});
    EXPECT_DOUBLE_EQ(grown.centerX, 200);
    EXPECT_DOUBLE_EQ(grown.chinY, 500);
    EXPECT_DOUBLE_EQ(grown.width, 160);
}

}  // namespace
