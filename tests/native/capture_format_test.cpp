#include "capture_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace vedio {
namespace {

std::optional<FrameSize> Choose(std::vector<FrameSize> offered) { return ChooseFrameSize(offered); }

TEST(CaptureFormat, TakesTheLargestWideSizeUpToFullHd) {
    EXPECT_EQ(Choose({{640, 480}, {1280, 720}, {1920, 1080}, {2560, 1440}, {1024, 768}}), (FrameSize{1920, 1080}));
    EXPECT_EQ(Choose({{1920, 1080}, {1280, 720}}), (FrameSize{1920, 1080}));
    // As wide as 16:9 within rounding: the larger wins.
    EXPECT_EQ(Choose({{1280, 720}, {1366, 768}, {640, 360}}), (FrameSize{1366, 768}));
    // Nearer 16:9 beats larger.
    EXPECT_EQ(Choose({{1600, 1000}, {1280, 720}}), (FrameSize{1280, 720}));
    EXPECT_EQ(Choose({{1920, 1200}, {1280, 800}, {960, 540}}), (FrameSize{960, 540}));
}

TEST(CaptureFormat, FallsBackToTheNearestShapeThatFits) {
    EXPECT_EQ(Choose({{640, 480}, {800, 600}}), (FrameSize{800, 600}));
    EXPECT_EQ(Choose({{1280, 1024}, {640, 480}}), (FrameSize{640, 480}));  // 4:3 is nearer 16:9 than 5:4
    EXPECT_EQ(Choose({{1921, 1080}, {1920, 1081}, {352, 288}}), (FrameSize{352, 288}));
}

TEST(CaptureFormat, NothingWhenNoSizeFits) {
    EXPECT_EQ(Choose({{3840, 2160}}), std::nullopt);
    EXPECT_EQ(Choose({}), std::nullopt);
    EXPECT_EQ(Choose({{0, 0}, {1280, 0}, {-640, -480}}), std::nullopt);
}

}  // namespace
}  // namespace vedio
