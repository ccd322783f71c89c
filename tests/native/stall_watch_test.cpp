#include "stall_watch.h"

#include <gtest/gtest.h>

namespace vedio {
namespace {

using namespace std::chrono_literals;
using Time = StallWatch::Clock::time_point;

constexpr Time kStart = Time{} + 1000s;

TEST(StallWatch, RunningCameraShowsNoNoticeAndAStallShowsItOnceAfterASecond) {
    StallWatch watch(kStart, false);
    Time last = kStart;
    for (auto t = 33ms; t < 3s; t += 33ms) {
        last = kStart + t;
        watch.FrameArrived(last);
        EXPECT_FALSE(watch.Update(last + 10ms));
        EXPECT_FALSE(watch.ShowsNotice());
    }
    EXPECT_FALSE(watch.Update(last + 999ms));
    EXPECT_EQ(watch.NextChange(), last + 1s);
    EXPECT_TRUE(watch.Update(last + 1s));  // a repaint is due
    EXPECT_TRUE(watch.ShowsNotice());
    EXPECT_FALSE(watch.Update(last + 5s));  // and only once
    EXPECT_TRUE(watch.ShowsNotice());
}

TEST(StallWatch, TheNextRealFrameClearsTheNotice) {
    StallWatch watch(kStart, false);
    watch.FrameArrived(kStart + 100ms);
    ASSERT_TRUE(watch.Update(kStart + 1200ms));
    watch.FrameArrived(kStart + 1300ms);
    EXPECT_FALSE(watch.ShowsNotice());
    EXPECT_FALSE(watch.Update(kStart + 2200ms));
    EXPECT_TRUE(watch.Update(kStart + 2300ms));  // stalled again
}

TEST(StallWatch, AStartThatNeverDeliversShowsTheNoticeAndDropsTheRestartsPlaceholder) {
    StallWatch fresh(kStart, false);
    EXPECT_FALSE(fresh.Update(kStart + 500ms));
    EXPECT_TRUE(fresh.Update(kStart + 1s));
    EXPECT_TRUE(fresh.ShowsNotice());

    StallWatch restart(kStart, true);
    EXPECT_TRUE(restart.ShowsPlaceholder());
    EXPECT_FALSE(restart.Update(kStart + 900ms));
    EXPECT_TRUE(restart.ShowsPlaceholder());
    EXPECT_TRUE(restart.Update(kStart + 1s));
    EXPECT_FALSE(restart.ShowsPlaceholder()) << "the previous picture must not stay";
    EXPECT_TRUE(restart.ShowsNotice());
    restart.FrameArrived(kStart + 3s);  // a late first frame still clears the notice
    EXPECT_FALSE(restart.ShowsNotice());
    EXPECT_FALSE(restart.ShowsPlaceholder());
}

TEST(StallWatch, TheRestartsOwnFirstFrameEndsThePlaceholder) {
    StallWatch restart(kStart, true);
    restart.FrameArrived(kStart + 200ms);
    EXPECT_FALSE(restart.ShowsPlaceholder());
    EXPECT_FALSE(restart.Update(kStart + 1100ms));
    EXPECT_FALSE(restart.ShowsNotice());
}

}  // namespace
}  // namespace vedio
