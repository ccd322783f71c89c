#include "camera_control.h"
#include "camera_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vcam {
namespace {

// The colour a player shows for limited-range BT.601, rounded.
std::uint32_t ToRgb(Yuv c) {
    const double y = 1.164 * (c.y - 16), u = c.u - 128.0, v = c.v - 128.0;
    const auto clamp = [](double value) { return static_cast<std::uint32_t>(std::clamp(value + 0.5, 0.0, 255.0)); };
    return clamp(y + 1.596 * v) << 16 | clamp(y - 0.392 * u - 0.813 * v) << 8 | clamp(y + 2.017 * u);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

// Reads pixel (x, y) of a frame back as 0xRRGGBB, as a decoder of the format would.
std::uint32_t Decode(PixelFormat format, FrameSize size, const std::vector<std::uint8_t>& bytes, int x, int y) {
    const auto w = static_cast<std::size_t>(size.width);
    const auto at = [&](std::size_t i) { return bytes.at(i); };
    switch (format) {
    case PixelFormat::Yuy2: {
        const std::size_t pair = static_cast<std::size_t>(y) * w * 2 + static_cast<std::size_t>(x / 2) * 4;
        return ToRgb({at(pair + (x % 2 ? 2 : 0)), at(pair + 1), at(pair + 3)});
    }
    case PixelFormat::Nv12: {
        const std::size_t chroma = w * static_cast<std::size_t>(size.height) + static_cast<std::size_t>(y / 2) * w +
                                   static_cast<std::size_t>(x / 2) * 2;
        return ToRgb({at(static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)), at(chroma), at(chroma + 1)});
    }
    case PixelFormat::Rgb24: {
        const std::size_t stride = FrameBytes(format, {size.width, 1});
        const std::size_t p = static_cast<std::size_t>(size.height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
        return static_cast<std::uint32_t>(at(p + 2)) << 16 | static_cast<std::uint32_t>(at(p + 1)) << 8 | at(p);
    }
    }
    return 0;
}

TEST(VirtualCameraPattern, EveryFormatDecodesToThePatternEverywhere) {
    for (const PixelFormat format : kPixelFormats) {
        for (const FrameSize size : kFrameSizes) {
            SCOPED_TRACE(testing::Message() << FormatName(format) << " " << size.width << "x" << size.height);
            std::vector<std::uint8_t> bytes(FrameBytes(format, size));
            DrawFrame(format, size, 7, bytes.data());
            const int tolerance = format == PixelFormat::Rgb24 ? 0 : 3;
            int wrong = 0;
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    if (!Near(Decode(format, size, bytes, x, y), ColourAt(size, 7, x, y), tolerance)) ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(VirtualCameraPattern, QuadrantsMarkerAndBlockLieWhereTheTestsLook) {
    const FrameSize size{1920, 1080};
    EXPECT_EQ(ColourAt(size, 0, 100, 100), kTopLeft);
    EXPECT_EQ(ColourAt(size, 0, 1800, 100), kTopRight);
    EXPECT_EQ(ColourAt(size, 0, 100, 1000), kBottomLeft);
    EXPECT_EQ(ColourAt(size, 0, 1800, 1000), kBottomRight);
    EXPECT_EQ(ColourAt(size, 0, 959, 539), kTopLeft);
    EXPECT_EQ(ColourAt(size, 0, 960, 540), kBottomRight);
    const Box marker = MarkerBox(size);
    EXPECT_EQ(marker.left, 720);
    EXPECT_EQ(marker.top, 270);
    EXPECT_EQ(marker.right - marker.left, 120);
    EXPECT_EQ(ColourAt(size, 0, 780, 330), kMarker);
    // The block moves along its track every frame and never leaves it.
    const Box track = TrackBox(size);
    for (std::uint64_t frame = 0; frame < 500; ++frame) {
        const Box block = BlockBox(size, frame);
        EXPECT_GE(block.left, track.left);
        EXPECT_LE(block.right, track.right);
    }
    EXPECT_NE(BlockBox(size, 1).left, BlockBox(size, 2).left);
}

TEST(VirtualCameraPattern, EdgesLieOnEvenPlacesSoSharedChromaNeverStraddlesThem) {
    for (const FrameSize size : kFrameSizes) {
        for (const Box box : {MarkerBox(size), TrackBox(size), BlockBox(size, 3)}) {
            EXPECT_EQ(box.left % 2, 0);
            EXPECT_EQ(box.top % 2, 0);
            EXPECT_EQ(box.right % 2, 0);
            EXPECT_EQ(box.bottom % 2, 0);
        }
        EXPECT_EQ(size.width / 2 % 2, 0);
        EXPECT_EQ(size.height / 2 % 2, 0);
    }
}

TEST(VirtualCameraPattern, TheMovingPartAloneTurnsOneFrameIntoTheNext) {
    const FrameSize size{640, 480};
    for (const PixelFormat format : kPixelFormats) {
        std::vector<std::uint8_t> updated(FrameBytes(format, size)), drawn(updated.size());
        DrawFrame(format, size, 1, updated.data());
        DrawMovingPart(format, size, 2, updated.data());
        DrawFrame(format, size, 2, drawn.data());
        EXPECT_EQ(updated, drawn) << FormatName(format);
        DrawFrame(format, size, 1, drawn.data());
        EXPECT_NE(updated, drawn) << FormatName(format) << ": frames 1 and 2 alike";
    }
}

TEST(VirtualCameraControl, ReadsItsInstructionsLineByLine) {
    EXPECT_EQ(ParseControl(""), Control{});
    const Control control = ParseControl("only NV12\r\nstall\n  lose  \nfail-start\nsomething else\n");
    EXPECT_EQ(control.only, PixelFormat::Nv12);
    EXPECT_TRUE(control.stall);
    EXPECT_TRUE(control.lose);
    EXPECT_TRUE(control.failStart);
    EXPECT_EQ(ParseControl("only RGB24").only, PixelFormat::Rgb24);
    EXPECT_EQ(ParseControl("only MJPG").only, std::nullopt) << "a format it cannot make offers them all";
    EXPECT_FALSE(ParseControl("stalled\nloses").stall);
}

}  // namespace
}  // namespace vcam
