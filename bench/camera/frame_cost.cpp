// Per-frame cost of turning a camera frame into the preview picture: FrameScaler::Scale of a
// 1280 x 720 24-bit bottom-up test-pattern frame into the preview sizes, timed against a
// plain copy of as many output bytes in the same run. Medians over several runs.
// Usage: vedio_bench_frame_cost [--frames N] [--runs N]
#include "bench/median.h"
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

using Clock = std::chrono::steady_clock;

struct Options {
    int frames = 200;
    int runs = 7;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) return false;
        const int value = std::atoi(argv[++i]);
        if (value <= 0) return false;
        if (name == "--frames") {
            options.frames = value;
        } else if (name == "--runs") {
            options.runs = value;
        } else {
            return false;
        }
    }
    return true;
}

template <typename Work>
double MillisecondsPerFrame(int frames, Work&& work) {
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) work(i);
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
    return elapsed.count() / frames;
}

using bench::Median;

// Keeps the copies and scaled frames observable, so none is optimised away.
unsigned Checksum(const std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4099) sum = sum * 31 + bytes[i];
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
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
            scaleTimes.push_back(MillisecondsPerFrame(options.frames, [&](int) { scaler.Scale(source, into); }));
            copyTimes.push_back(MillisecondsPerFrame(options.frames, [&](int i) {
                copySource[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
                std::memcpy(copied.data(), copySource.data(), bytes);
            }));
        }
        const double scale = Median(scaleTimes);
        const double copy = Median(copyTimes);
        std::printf("%4dx%-5d %10.3f %10.3f %11.2f\n", size[0], size[1], scale, copy, scale / copy);
        checksum += Checksum(scaled) + Checksum(copied);
    }

    std::vector<double> drawTimes;
    for (int run = 0; run < options.runs; ++run) {
        drawTimes.push_back(MillisecondsPerFrame(options.frames, [&](int i) {
            pattern::Draw(static_cast<std::uint64_t>(i), sourcePixels.data());
        }));
    }
    std::printf("test pattern draw: %.3f ms per frame (checksum %08x)\n", Median(drawTimes),
                checksum + Checksum(sourcePixels));
    return 0;
}
