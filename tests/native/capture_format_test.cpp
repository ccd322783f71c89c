#include "capture_format.h"

#include <gtest/gtest.h>

#include <limits>
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

std::optional<std::size_t> ChooseFormat(std::vector<OfferedFormat> offered) { return ChooseDeviceFormat(offered); }

constexpr FrameSize kFullHd{1920, 1080};
constexpr FrameSize kHd{1280, 720};

TEST(CaptureFormat, SizeFirstThenTheBestUncompressedEncoding) {
    // A typical webcam: every size as MJPG and YUY2; an RGB24 of another size does not win.
    EXPECT_EQ(ChooseFormat({{kHd, Encoding::Decoded, 30}, {kHd, Encoding::Yuy2, 30}, {{640, 480}, Encoding::Rgb24, 30}}),
              1u);
    // The order among formats of one size: YUY2, NV12, I420, RGB32, RGB24, compressed.
    std::vector<OfferedFormat> offered = {{kFullHd, Encoding::Decoded, 30}, {kFullHd, Encoding::Rgb24, 30},
                                          {kFullHd, Encoding::Rgb32, 30},   {kFullHd, Encoding::I420, 30},
                                          {kFullHd, Encoding::Nv12, 30},    {kFullHd, Encoding::Yuy2, 30}};
    for (std::size_t expected = offered.size(); expected-- > 0;) {
        ASSERT_EQ(ChooseFormat(offered), expected);
        offered.pop_back();
    }
    // The first offered on a tie; a rate the device does not state counts as smooth.
    EXPECT_EQ(ChooseFormat({{kHd, Encoding::Nv12, 0}, {kHd, Encoding::Nv12, 30}}), 0u);
    EXPECT_EQ(ChooseFormat({{kHd, Encoding::Decoded, 30}, {kHd, Encoding::Nv12, 0}}), 1u);
}

TEST(CaptureFormat, ASmoothCompressedFormatBeatsASlowUncompressedOne) {
    // USB 2.0 webcams: 1080p YUY2 at 5 fps, MJPG at 30.
    EXPECT_EQ(ChooseFormat({{kFullHd, Encoding::Yuy2, 5}, {kFullHd, Encoding::Decoded, 30}, {kHd, Encoding::Yuy2, 10}}),
              1u);
    // When every format of the size is slow, the best encoding still wins.
    EXPECT_EQ(ChooseFormat({{kFullHd, Encoding::Decoded, 5}, {kFullHd, Encoding::Yuy2, 5}}), 1u);
    EXPECT_EQ(ChooseFormat({{kFullHd, Encoding::Yuy2, 14.9}, {kFullHd, Encoding::Rgb24, 15}}), 1u);
}

TEST(CaptureFormat, NoFormatWhenNoSizeFits) {
    EXPECT_EQ(ChooseFormat({}), std::nullopt);
    EXPECT_EQ(ChooseFormat({{{3840, 2160}, Encoding::Yuy2, 30}}), std::nullopt);
}

TEST(CaptureFormat, ConnectedVideoLaysOutAsItsEncodingSays) {
    const SourceFrame rgb = DescribeFrame(PixelFormat::Bgr24, 641, 480);
    EXPECT_EQ(rgb.width, 641);
    EXPECT_EQ(rgb.height, 480);
    EXPECT_EQ(rgb.stride, 1924);  // DIB rows padded to four bytes
    EXPECT_TRUE(rgb.bottomUp);
    EXPECT_FALSE(DescribeFrame(PixelFormat::Bgrx32, 640, -480).bottomUp);
    EXPECT_EQ(DescribeFrame(PixelFormat::Bgrx32, 640, -480).height, 480);
    // YUV is top-down whatever the sign of the height.
    const SourceFrame yuy2 = DescribeFrame(PixelFormat::Yuy2, 1280, 720);
    EXPECT_FALSE(yuy2.bottomUp);
    EXPECT_EQ(yuy2.stride, 2560);
    EXPECT_EQ(DescribeFrame(PixelFormat::Nv12, 1920, 1080).stride, 1920);
    EXPECT_EQ(DescribeFrame(PixelFormat::I420, 1920, -1080).height, 1080);
    // Nonsense heights and widths come out as empty frames, which nothing draws.
    EXPECT_EQ(DescribeFrame(PixelFormat::Nv12, -5, 10).width, 0);
    EXPECT_EQ(DescribeFrame(PixelFormat::Nv12, 16, std::numeric_limits<int>::min()).height, 0);
}

}  // namespace
}  // namespace vedio
