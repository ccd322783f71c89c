#include "frame_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace vedio {
namespace {

using Bgr = std::array<int, 3>;

// A source frame in an exact-size buffer, so any read past it trips the address sanitizer.
struct Source {
    int width;
    int height;
    PixelFormat format = PixelFormat::Bgr24;
    bool bottomUp = true;
    std::ptrdiff_t stride = DibStride(width, 8 * BytesPerPixel(format));
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(stride * height, 0xEE);

    std::ptrdiff_t Offset(int x, int y) const {
        return (bottomUp ? height - 1 - y : y) * stride + x * BytesPerPixel(format);
    }
    void Set(int x, int y, Bgr bgr) { std::copy(bgr.begin(), bgr.end(), bytes.begin() + Offset(x, y)); }
    Bgr Get(int x, int y) const {
        const std::uint8_t* p = &bytes[Offset(x, y)];
        return {p[0], p[1], p[2]};
    }
    SourceFrame Frame() const { return {bytes.data(), width, height, stride, format, bottomUp}; }
};

struct Target {
    int width;
    int height;
    std::ptrdiff_t stride = width * std::ptrdiff_t{4};
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(stride * height, 0x11);

    const std::uint8_t* At(int x, int y) const { return &bytes[y * stride + 4 * x]; }
    Bgr Get(int x, int y) const { return {At(x, y)[0], At(x, y)[1], At(x, y)[2]}; }
    TargetImage Image() { return {bytes.data(), width, height, stride}; }
};

Target Scaled(const Source& source, int width, int height) {
    Target target{width, height};
    FrameScaler().Scale(source.Frame(), target.Image());
    return target;
}

Source Row(std::vector<Bgr> pixels, PixelFormat format = PixelFormat::Bgr24) {
    Source source{static_cast<int>(pixels.size()), 1, format};
    for (std::size_t x = 0; x < pixels.size(); ++x) source.Set(static_cast<int>(x), 0, pixels[x]);
    return source;
}

Source Random(int width, int height, PixelFormat format, bool bottomUp, unsigned seed) {
    Source source{width, height, format, bottomUp};
    std::mt19937 random(seed);
    for (auto& byte : source.bytes) byte = static_cast<std::uint8_t>(random());
    return source;
}

// The rules worked out in floating point: the source indices and weights of target index i.
std::vector<std::pair<int, double>> ReferenceTaps(int source, int target, int i) {
    const double scale = static_cast<double>(source) / target;
    if (source == target) return {{i, 1.0}};
    std::vector<std::pair<int, double>> taps;
    if (source > 2 * target) {
        for (int s = static_cast<int>(i * scale); s < source && s < (i + 1) * scale; ++s) {
            taps.emplace_back(s, (std::min(s + 1.0, (i + 1) * scale) - std::max<double>(s, i * scale)) / scale);
        }
        return taps;
    }
    const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, source - 1.0);
    const int left = static_cast<int>(position);
    taps.emplace_back(left, 1 - (position - left));
    if (position > left) taps.emplace_back(left + 1, position - left);
    return taps;
}

int ReferenceChannel(const Source& source, int width, int height, int x, int y, int channel) {
    double value = 0;
    for (const auto& [sy, rowWeight] : ReferenceTaps(source.height, height, y)) {
        for (const auto& [sx, weight] : ReferenceTaps(source.width, width, x)) {
            value += rowWeight * weight * source.Get(sx, sy)[channel];
        }
    }
    return static_cast<int>(std::lround(value));
}

TEST(FrameScaler, EnlargesBilinearlyWithPixelCentresAligned) {
    const Target wide = Scaled(Row({{10, 20, 30}, {50, 100, 200}}), 4, 1);
    EXPECT_EQ(wide.Get(0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(wide.Get(1, 0), (Bgr{20, 40, 73}));  // 3/4 + 1/4; 72.5 rounds up
    EXPECT_EQ(wide.Get(2, 0), (Bgr{40, 80, 158}));
    EXPECT_EQ(wide.Get(3, 0), (Bgr{50, 100, 200}));

    // Longer rows, in both layouts: past the first pixel, 3/4 + 1/4 and 1/4 + 3/4 of neighbours.
    for (const PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
        std::vector<Bgr> pixels;
        for (int x = 0; x < 9; ++x) pixels.push_back({x * 30, 250 - x * 26, x % 2 * 2});
        const Target doubled = Scaled(Row(pixels, format), 18, 1);
        for (int x = 1; x < 17; ++x) {
            const Bgr& left = pixels[(x - 1) / 2];
            const Bgr& right = pixels[(x + 1) / 2];
            const int leftShare = x % 2 == 1 ? 3 : 1;
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(doubled.Get(x, 0)[c], (left[c] * leftShare + right[c] * (4 - leftShare) + 2) / 4) << x;
            }
        }
        EXPECT_EQ(doubled.Get(17, 0), pixels[8]);
    }

    // Bottom-up rows: the first row in memory is the picture's bottom.
    Source column{1, 2};
    column.Set(0, 0, {0, 0, 0});
    column.Set(0, 1, {200, 6, 10});
    const Target tall = Scaled(column, 1, 4);
    EXPECT_EQ(tall.Get(0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(tall.Get(0, 1), (Bgr{50, 2, 3}));  // 1.5 and 2.5 round up
    EXPECT_EQ(tall.Get(0, 2), (Bgr{150, 5, 8}));
    EXPECT_EQ(tall.Get(0, 3), (Bgr{200, 6, 10}));
}

TEST(FrameScaler, ReducesByMoreThanTwoToCoverageWeightedMeans) {
    Source square{4, 4};
    int sum = 0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            sum += 13 * x + 50 * y + 1;
            square.Set(x, y, {13 * x + 50 * y + 1, 255 - (13 * x + 50 * y + 1), x == y ? 255 : 0});
        }
    }
    // Means 95.5, 159.5 and 63.75, rounded to nearest.
    EXPECT_EQ(Scaled(square, 1, 1).Get(0, 0), (Bgr{(sum + 8) / 16, (16 * 255 - sum + 8) / 16, 64}));

    // Whole spans of three: 170 is exact only with fine weights.
    const Target thirds =
        Scaled(Row({{255, 1, 9}, {255, 2, 9}, {0, 4, 10}, {0, 7, 90}, {30, 8, 90}, {100, 9, 91}}), 2, 1);
    EXPECT_EQ(thirds.Get(0, 0), (Bgr{170, 2, 9}));
    EXPECT_EQ(thirds.Get(1, 0), (Bgr{43, 8, 90}));

    // Spans of 2.5 pixels: the middle pixel is shared half and half.
    const Target halves = Scaled(Row({{100, 0, 0}, {100, 0, 0}, {200, 0, 50}, {0, 0, 0}, {0, 0, 250}}), 2, 1);
    EXPECT_EQ(halves.Get(0, 0), (Bgr{120, 0, 10}));
    EXPECT_EQ(halves.Get(1, 0), (Bgr{40, 0, 110}));
}

TEST(FrameScaler, ReducesUpToTwoBilinearly) {
    const Target half = Scaled(Row({{0, 10, 0}, {100, 11, 0}, {40, 20, 0}, {60, 30, 0}}), 2, 1);
    EXPECT_EQ(half.Get(0, 0), (Bgr{50, 11, 0}));  // 10.5 rounds up
    EXPECT_EQ(half.Get(1, 0), (Bgr{50, 25, 0}));

    // 3 -> 2: centres fall a quarter of a pixel inside the outer pixels.
    const Target twoThirds = Scaled(Row({{0, 0, 0}, {100, 200, 40}, {200, 0, 80}}), 2, 1);
    EXPECT_EQ(twoThirds.Get(0, 0), (Bgr{25, 50, 10}));
    EXPECT_EQ(twoThirds.Get(1, 0), (Bgr{175, 50, 70}));
}

TEST(FrameScaler, CopiesExactlyAtOneToOneWhateverTheLayout) {
    for (const PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
        for (const bool bottomUp : {true, false}) {
            Source source = Random(5, 3, format, bottomUp, 7);
            source.stride += 8;  // rows further apart than packed
            source.bytes.resize(source.stride * source.height, 0x5A);
            Target target{5, 3, 5 * 4 + 12};
            FrameScaler().Scale(source.Frame(), target.Image());
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 5; ++x) EXPECT_EQ(target.Get(x, y), source.Get(x, y)) << x << "," << y;
                for (int pad = 20; pad < 32; ++pad) EXPECT_EQ(target.bytes[y * 32 + pad], 0x11);
            }
        }
    }
}

TEST(FrameScaler, AgreesWithFloatingPointWithinOneLevel) {
    const std::array<std::array<int, 4>, 8> sizes = {{
        {1280, 720, 1819, 1024}, {1280, 720, 1421, 800}, {1920, 1080, 301, 170}, {64, 48, 7, 5},
        {37, 23, 50, 11}, {9, 40, 23, 17}, {101, 3, 34, 9}, {5, 7, 5, 3},
    }};
    for (const auto& [sw, sh, tw, th] : sizes) {
        const Source source = Random(sw, sh, PixelFormat::Bgr24, true, static_cast<unsigned>(sw * th));
        const Target target = Scaled(source, tw, th);
        const int step = tw > 200 ? 7 : 1;  // a sample of the big pictures
        int worst = 0;
        int samples = 0;
        int misses = 0;
        for (int y = 0; y < th; y += step) {
            for (int x = 0; x < tw; x += step) {
                for (int c = 0; c < 3; ++c) {
                    const int error = target.Get(x, y)[c] - ReferenceChannel(source, tw, th, x, y, c);
                    worst = std::max(worst, std::abs(error));
                    misses += error != 0;
                    ++samples;
                }
                EXPECT_EQ(target.At(x, y)[3], 0xFF);
            }
        }
        // Off by one only where the exact value lies a hair from a half.
        EXPECT_LE(worst, 1) << sw << "x" << sh << " -> " << tw << "x" << th;
        EXPECT_LE(misses * 100, samples) << sw << "x" << sh << " -> " << tw << "x" << th;
    }
}

TEST(FrameScaler, SinglePixelsAndOddSizesStayInsideTheBuffers) {
    const Target spread = Scaled(Row({{1, 2, 3}}), 7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) EXPECT_EQ(spread.Get(x, y), (Bgr{1, 2, 3}));
    }
    const Source odd = Random(7, 5, PixelFormat::Bgrx32, false, 3);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(Scaled(odd, 1, 1).Get(0, 0)[c], ReferenceChannel(odd, 1, 1, 0, 0, c), 1);
    Scaled(odd, 1, 9);
    Scaled(odd, 13, 1);
    Scaled(Random(1, 9, PixelFormat::Bgr24, true, 4), 3, 2);
    Scaled(Random(11, 2, PixelFormat::Bgr24, false, 5), 15, 3);  // a top-down last row in memory
}

TEST(FrameScaler, EmptyOrNullFramesLeaveTheTargetAlone) {
    const Source source = Random(4, 4, PixelFormat::Bgr24, true, 5);
    Target target{4, 4};
    FrameScaler scaler;
    SourceFrame frame = source.Frame();
    frame.pixels = nullptr;
    scaler.Scale(frame, target.Image());
    frame = source.Frame();
    frame.width = 0;
    scaler.Scale(frame, target.Image());
    TargetImage image = target.Image();
    image.height = 0;
    scaler.Scale(source.Frame(), image);
    scaler.Scale(source.Frame(), {nullptr, 4, 4, 16});
    EXPECT_TRUE(std::all_of(target.bytes.begin(), target.bytes.end(), [](std::uint8_t b) { return b == 0x11; }));
}

TEST(FrameScaler, OneScalerFollowsNewFramesAndNewSizes) {
    FrameScaler scaler;
    const auto scale = [&](const Source& source, int width, int height) {
        Target target{width, height};
        scaler.Scale(source.Frame(), target.Image());
        return target.bytes;
    };
    const Source first = Random(40, 30, PixelFormat::Bgr24, true, 1);
    const Source second = Random(40, 30, PixelFormat::Bgr24, true, 2);
    const Source other = Random(17, 90, PixelFormat::Bgrx32, false, 3);
    // One target row sums every source row: nothing may be kept from the last frame.
    EXPECT_EQ(scale(first, 57, 1), Scaled(first, 57, 1).bytes);
    EXPECT_EQ(scale(second, 57, 1), Scaled(second, 57, 1).bytes);
    EXPECT_EQ(scale(other, 5, 8), Scaled(other, 5, 8).bytes);
    EXPECT_EQ(scale(first, 57, 41), Scaled(first, 57, 41).bytes);
    EXPECT_EQ(scale(second, 57, 1), Scaled(second, 57, 1).bytes);
}

}  // namespace
}  // namespace vedio
