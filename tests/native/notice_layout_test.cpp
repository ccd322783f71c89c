#include "notice_layout.h"

#include <gtest/gtest.h>

namespace vedio {
namespace {

constexpr int kTitleChars = 8;
constexpr int kAdviceChars = 21;

bool Inside(const NoticeRect& inner, const NoticeRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The lines fit their boxes when every full-width character is as wide as the font is high.
void ExpectWholeNoticeIn(const NoticeLayout& layout, const NoticeRect& seen) {
    EXPECT_TRUE(Inside(layout.band, seen));
    EXPECT_TRUE(Inside(layout.title, layout.band));
    EXPECT_TRUE(Inside(layout.advice, layout.band));
    EXPECT_LE(layout.titleHeight * kTitleChars, layout.title.Width());
    EXPECT_LE(layout.adviceHeight * kAdviceChars, layout.advice.Width());
    EXPECT_LE(layout.title.bottom, layout.advice.top);
}

TEST(NoticeLayout, AWhollyVisiblePictureGetsTheBandAcrossItsMiddle) {
    const NoticeLayout layout = LayOutNotice(640, 480, {0, 0, 640, 480}, kTitleChars, kAdviceChars);
    EXPECT_EQ(layout.band.left, 0);
    EXPECT_EQ(layout.band.right, 640);
    EXPECT_NEAR((layout.band.top + layout.band.bottom) / 2, 240, 1);
    EXPECT_EQ(layout.titleHeight, 48);
    ExpectWholeNoticeIn(layout, {0, 0, 640, 480});
}

TEST(NoticeLayout, AZoomedAndPannedPictureGetsItCentredOnWhatIsSeen) {
    // A 1200 x 900 picture, the frame showing only 300 x 400 of it, right of and below its middle.
    const NoticeRect seen{700, 500, 1000, 900};
    const NoticeLayout layout = LayOutNotice(1200, 900, seen, kTitleChars, kAdviceChars);
    ExpectWholeNoticeIn(layout, seen);
    EXPECT_NEAR((layout.band.left + layout.band.right) / 2, 850, 1);
    EXPECT_NEAR((layout.band.top + layout.band.bottom) / 2, 700, 1);
    // Sized to the view, not to the picture: the advice shrinks to the narrow width.
    EXPECT_LT(layout.adviceHeight, 28);
    EXPECT_GE(layout.adviceHeight, 9);
}

TEST(NoticeLayout, AViewPartlyOutsideThePictureUsesTheOverlap) {
    const NoticeLayout layout = LayOutNotice(400, 300, {-200, 100, 300, 800}, kTitleChars, kAdviceChars);
    ExpectWholeNoticeIn(layout, {0, 100, 300, 300});
}

TEST(NoticeLayout, NothingSeenOrNoViewMeansTheWholePicture) {
    for (const NoticeRect seen : {NoticeRect{}, NoticeRect{500, 500, 600, 600}, NoticeRect{10, 10, 10, 50}}) {
        const NoticeLayout layout = LayOutNotice(400, 300, seen, kTitleChars, kAdviceChars);
        EXPECT_EQ(layout.band.left, 0);
        EXPECT_EQ(layout.band.right, 400);
        ExpectWholeNoticeIn(layout, {0, 0, 400, 300});
    }
}

TEST(NoticeLayout, IntersectionOfRectangles) {
    const NoticeRect overlap = Intersect({0, 0, 100, 100}, {50, -10, 200, 60});
    EXPECT_EQ(overlap.left, 50);
    EXPECT_EQ(overlap.top, 0);
    EXPECT_EQ(overlap.right, 100);
    EXPECT_EQ(overlap.bottom, 60);
    EXPECT_TRUE(Intersect({0, 0, 10, 10}, {10, 0, 20, 10}).Empty());
}

}  // namespace
}  // namespace vedio
