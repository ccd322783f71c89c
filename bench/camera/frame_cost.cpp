// Per-frame cost of turning a camera frame into the preview picture: FrameScaler::Scale of a
// 1280 x 720 24-bit bottom-up test-pattern frame into the preview sizes, timed against a
// plain copy of as many output bytes in the same run. Medians over several runs.
// Usage: vedio_bench_frame_cost [--frames N] [--runs N]
#include "bench/timing.h"
#include "frame_scaler.h"
#include "test_pattern.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

using bench::Median;

}  // namespace

int main(int argc, char** argv) {
    struct {
        int frames = 200;
        int runs = 7;
    } options;
    if (!bench::ParseCounts<char>(argc, argv, {{"--frames", &options.frames}, {"--runs", &options.runs}})) {
        std::fprintf(stderr, "usage: %s [--frames N] [--runs N]\n", argv[0]);
        return 2;
    }
    namespace pattern = vedio::pattern;
    std::vector<std::uint8_t> sourcePixels(static_cast<std::size_t>(pattern::kStride) * pattern::kHeight);
    pattern::Draw(0, sourcePixels.data());
    const vedio::SourceFrame source = {sourcePixels.data(), pattern::kWidth, pattern::kHeight, pattern::kStride,
                                       vedio::PixelFormat::Bgr24, true};

    std::printf("source %dx%d Bgr24 bottom-up; %d frames per run, %d runs; medians in ms per frame\n",
                pattern::kWidth, pattern::kHeight, options.frames, options.runs);
    std::printf("%-10s %10s %10s %11s\n", "target", "scale", "copy", "scale/copy");
    unsigned checksum = 0;
    const int targets[][2] = {{1421, 800}, {1819, 1024}};
    for (const auto& size : targets) {
        const vedio::TargetImage target = {nullptr, size[0], size[1], static_cast<std::ptrdiff_t>(size[0]) * 4};
        const std::size_t bytes = static_cast<std::size_t>(target.stride) * target.height;
        std::vector<std::uint8_t> scaled(bytes);
        std::vector<std::uint8_t> copied(bytes);
        std::vector<std::uint8_t> copySource(bytes, 0x5A);
        vedio::TargetImage into = target;
        into.pixels = scaled.data();

        vedio::FrameScaler scaler;
        scaler.Scale(source, into);  // builds the tables outside the timing
        std::vector<double> scaleTimes;
        std::vector<double> copyTimes;
        for (int run = 0; run < options.runs; ++run) {
            scaleTimes.push_back(bench::MillisecondsEach(options.frames, [&](int) { scaler.Scale(source, into); }));
            copyTimes.push_back(bench::MillisecondsEach(options.frames, [&](int i) {
                copySource[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
                std::memcpy(copied.data(), copySource.data(), bytes);
            }));
        }
        const double scale = Median(scaleTimes);
        const double copy = Median(copyTimes);
        std::printf("%4dx%-5d %10.3f %10.3f %11.2f\n", size[0], size[1], scale, copy, scale / copy);
        checksum += bench::Checksum(scaled) + bench::Checksum(copied);
    }

    std::vector<double> drawTimes;
    for (int run = 0; run < options.runs; ++run) {
        drawTimes.push_back(bench::MillisecondsEach(options.frames, [&](int i) {
            pattern::Draw(static_cast<std::uint64_t>(i), sourcePixels.data());
        }));
    }
    std::printf("test pattern draw: %.3f ms per frame (checksum %08x)\n", Median(drawTimes),
                checksum + bench::Checksum(sourcePixels));
    return 0;
}
