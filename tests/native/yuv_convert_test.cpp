#include "frame_scaler.h"
#include "yuv_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace vedio {
namespace {

using Bgr = std::array<std::uint8_t, 3>;

struct Yuv {
    int y, u, v;
};

// A YUV frame built from one sample per pixel (chroma from the top-left pixel each sample
// covers), in a buffer of exactly the layout's size so any stray read trips ASan.
struct YuvFrame {
    PixelFormat format;
    int width;
    int height;
    std::ptrdiff_t stride;
    std::vector<std::uint8_t> bytes;

    YuvFrame(PixelFormat f, int w, int h, std::ptrdiff_t padding = 0)
        : format(f), width(w), height(h), stride(RowBytes(f, w) + padding),
          bytes(static_cast<std::size_t>(FrameBytes(f, h, stride)), 0xEE) {}

    void Set(int x, int y, Yuv sample) {
        std::uint8_t* luma = bytes.data() + y * stride;
        std::uint8_t* afterLuma = bytes.data() + stride * height;
        const bool ownsChroma = x % 2 == 0 && (format == PixelFormat::Yuy2 || y % 2 == 0);
        if (format == PixelFormat::Yuy2) {
            luma[2 * x] = static_cast<std::uint8_t>(sample.y);
            if (ownsChroma) {
                luma[2 * x + 1] = static_cast<std::uint8_t>(sample.u);
                luma[2 * x + 3] = static_cast<std::uint8_t>(sample.v);
            }
            return;
        }
        luma[x] = static_cast<std::uint8_t>(sample.y);
        if (!ownsChroma) return;
        if (format == PixelFormat::Nv12) {
            afterLuma[y / 2 * stride + x] = static_cast<std::uint8_t>(sample.u);
            afterLuma[y / 2 * stride + x + 1] = static_cast<std::uint8_t>(sample.v);
        } else {
            const std::ptrdiff_t chromaStride = I420ChromaStride(stride);
            afterLuma[y / 2 * chromaStride + x / 2] = static_cast<std::uint8_t>(sample.u);
            afterLuma[chromaStride * ChromaHeight(height) + y / 2 * chromaStride + x / 2] =
                static_cast<std::uint8_t>(sample.v);
        }
    }
    SourceFrame Frame(bool bottomUp = false) const { return {bytes.data(), width, height, stride, format, bottomUp}; }
};

Yuv Sample(int x, int y) { return {16 + (x * 37 + y * 11) % 220, 16 + (x * 53 + y * 29) % 225, 16 + (x * 17 + y * 61) % 225}; }

// Fills every pixel; a pixel that does not own its chroma keeps the owner's, so the
// expected colour of (x, y) takes chroma from the sample's owner.
YuvFrame Filled(PixelFormat format, int width, int height, std::ptrdiff_t padding = 0) {
    YuvFrame frame(format, width, height, padding);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) frame.Set(x, y, Sample(x, y));
    return frame;
}

Bgr Expected(PixelFormat format, int x, int y) {
    const Yuv chroma = Sample(x / 2 * 2, format == PixelFormat::Yuy2 ? y : y / 2 * 2);
    return YuvToBgr(Sample(x, y).y, chroma.u, chroma.v);
}

std::vector<std::uint8_t> ConvertedRow(const YuvFrame& frame, int row, bool scalar = false) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(frame.width) * 4);
    if (scalar)
        ConvertYuvRowScalar(frame.Frame(), row, out.data());
    else
        ConvertYuvRow(frame.Frame(), row, out.data());
    return out;
}

constexpr PixelFormat kYuvFormats[] = {PixelFormat::Yuy2, PixelFormat::Nv12, PixelFormat::I420};

TEST(YuvConvert, ReferenceColoursOfLimitedRange) {
    EXPECT_EQ(YuvToBgr(16, 128, 128), (Bgr{0, 0, 0}));        // black level
    EXPECT_EQ(YuvToBgr(235, 128, 128), (Bgr{255, 255, 255})); // white level
    EXPECT_EQ(YuvToBgr(126, 128, 128), (Bgr{128, 128, 128}));
    EXPECT_EQ(YuvToBgr(81, 90, 240), (Bgr{0, 0, 254}));       // red bar
    EXPECT_EQ(YuvToBgr(145, 54, 34), (Bgr{1, 255, 0}));       // green bar
    EXPECT_EQ(YuvToBgr(41, 240, 110), (Bgr{255, 0, 0}));      // blue bar
    // Out-of-range samples clamp instead of wrapping.
    EXPECT_EQ(YuvToBgr(0, 0, 0), (Bgr{0, 136, 0}));
    EXPECT_EQ(YuvToBgr(255, 255, 255), (Bgr{255, 125, 255}));
}

TEST(YuvConvert, WithinOneLevelOfTheExactFormulaEverywhere) {
    int worst = 0;
    for (int y = 0; y < 256; y += 3) {
        for (int u = 0; u < 256; u += 5) {
            for (int v = 0; v < 256; v += 5) {
                const double luma = 1.164383 * (y - 16);
                const double exact[3] = {luma + 2.017232 * (u - 128), luma - 0.391762 * (u - 128) - 0.812968 * (v - 128),
                                         luma + 1.596027 * (v - 128)};
                const Bgr got = YuvToBgr(y, u, v);
                for (int c = 0; c < 3; ++c) {
                    const int want = static_cast<int>(std::lround(std::clamp(exact[c], 0.0, 255.0)));
                    worst = std::max(worst, std::abs(want - got[static_cast<std::size_t>(c)]));
                }
            }
        }
    }
    EXPECT_LE(worst, 1);
}

TEST(YuvConvert, EachLayoutPutsEverySampleOnItsPixel) {
    // Widths below, at and past the eight pixels the vector path takes at once; odd widths
    // and heights end on chroma that covers a single pixel or row.
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 3}, {5, 3}, {8, 2}, {9, 4}, {13, 5}, {16, 1}, {17, 3}, {31, 7}};
    for (const PixelFormat format : kYuvFormats) {
        for (const auto& size : sizes) {
            const YuvFrame frame = Filled(format, size[0], size[1]);
            for (int y = 0; y < frame.height; ++y) {
                const auto row = ConvertedRow(frame, y);
                for (int x = 0; x < frame.width; ++x) {
                    const Bgr want = Expected(format, x, y);
                    const std::uint8_t* got = &row[static_cast<std::size_t>(4 * x)];
                    ASSERT_EQ((Bgr{got[0], got[1], got[2]}), want)
                        << "format " << static_cast<int>(format) << " " << size[0] << "x" << size[1] << " at " << x
                        << "," << y;
                    ASSERT_EQ(got[3], 0xFF);
                }
            }
        }
    }
}

TEST(YuvConvert, VectorPathMatchesTheScalarReference) {
    std::mt19937 random(14);
    for (const PixelFormat format : kYuvFormats) {
        YuvFrame frame(format, 67, 5, 3);
        for (auto& byte : frame.bytes) byte = static_cast<std::uint8_t>(random());
        for (int y = 0; y < frame.height; ++y) ASSERT_EQ(ConvertedRow(frame, y), ConvertedRow(frame, y, true));
    }
}

TEST(YuvConvert, RowPaddingIsSkipped) {
    for (const PixelFormat format : kYuvFormats) {
        const YuvFrame packed = Filled(format, 11, 5);
        const YuvFrame padded = Filled(format, 11, 5, 21);  // padding bytes hold 0xEE
        for (int y = 0; y < packed.height; ++y) EXPECT_EQ(ConvertedRow(packed, y), ConvertedRow(padded, y));
    }
}

TEST(YuvConvert, ScalerTakesYuvTopDownAndKeepsItExactAtOneToOne) {
    for (const PixelFormat format : kYuvFormats) {
        const YuvFrame frame = Filled(format, 7, 3, 1);
        for (const bool bottomUp : {false, true}) {  // YUV is top-down whatever the flag says
            std::vector<std::uint8_t> target(7 * 3 * 4, 0x11);
            FrameScaler().Scale(frame.Frame(bottomUp), {target.data(), 7, 3, 7 * 4});
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x) {
                    const std::uint8_t* got = &target[static_cast<std::size_t>((y * 7 + x) * 4)];
                    EXPECT_EQ((Bgr{got[0], got[1], got[2]}), Expected(format, x, y));
                    EXPECT_EQ(got[3], 0xFF);
                }
        }
    }
}

TEST(YuvConvert, ScalingAConvertedFrameMatchesScalingItsRgb) {
    // The same picture as NV12 and as the 32-bit frame it converts to scale alike.
    const YuvFrame yuv = Filled(PixelFormat::Nv12, 45, 27);
    std::vector<std::uint8_t> rgb(45 * 27 * 4);
    for (int y = 0; y < 27; ++y) ConvertYuvRow(yuv.Frame(), y, rgb.data() + y * 45 * 4);
    const SourceFrame rgbFrame{rgb.data(), 45, 27, 45 * 4, PixelFormat::Bgrx32, false};
    for (const auto& size : {std::array{16, 9}, std::array{100, 61}}) {
        std::vector<std::uint8_t> fromYuv(static_cast<std::size_t>(size[0] * size[1] * 4));
        std::vector<std::uint8_t> fromRgb(fromYuv.size());
        FrameScaler scaler;
        scaler.Scale(yuv.Frame(), {fromYuv.data(), size[0], size[1], size[0] * 4});
        scaler.Scale(rgbFrame, {fromRgb.data(), size[0], size[1], size[0] * 4});
        EXPECT_EQ(fromYuv, fromRgb);
    }
}

TEST(FrameLayout, SizesOfEachLayout) {
    EXPECT_EQ(RowBytes(PixelFormat::Yuy2, 5), 12);  // the last pair is whole
    EXPECT_EQ(RowBytes(PixelFormat::Nv12, 5), 6);   // and so is the last U V pair
    EXPECT_EQ(DefaultStride(PixelFormat::Yuy2, 640), 1280);
    EXPECT_EQ(DefaultStride(PixelFormat::Bgr24, 5), 16);
    EXPECT_EQ(FrameBytes(PixelFormat::Nv12, 3, 6), 6 * 3 + 6 * 2);
    EXPECT_EQ(FrameBytes(PixelFormat::I420, 3, 5), 5 * 3 + 2 * 3 * 2);
    EXPECT_EQ(FrameBytes(PixelFormat::I420, 1080, 1920), 1920 * 1080 * 3 / 2);
    EXPECT_EQ(FrameBytes(PixelFormat::Bgr24, 3, 16), 48);
}

}  // namespace
}  // namespace vedio
