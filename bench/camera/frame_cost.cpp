// Per-frame cost of turning a camera frame into the preview picture: FrameScaler::Scale of a
// 1280 x 720 24-bit bottom-up test-pattern frame into the preview sizes, timed against a
// plain copy of as many output bytes in the same run; then the YUV layouts webcams send
// (YUY2, NV12 at 1280 x 720 and 1920 x 1080): conversion alone against a plain copy of the
// same source bytes, and conversion with scaling to 1819 x 1024. Medians over several runs.
// Usage: vedio_bench_frame_cost [--frames N] [--runs N]
#include "bench/timing.h"
#include "frame_scaler.h"
#include "test_pattern.h"
#include "yuv_convert.h"

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

// A YUV frame with smooth gradients and some detail in every plane.
std::vector<std::uint8_t> YuvPicture(vedio::PixelFormat format, int width, int height) {
    const std::ptrdiff_t stride = vedio::DefaultStride(format, width);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(vedio::FrameBytes(format, height, stride)));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(16 + (i * 7 + i / static_cast<std::size_t>(stride) * 3) % 220);
    return bytes;
}

// Conversion and scaling of the YUV layouts, each line against a copy of its source bytes.
unsigned TimeYuv(int frames, int runs) {
    std::printf("\nYUV source, top-down; convert = whole frame to 32-bit, copy = memcpy of the source bytes;\n"
                "+scale = convert and scale to 1819x1024; cpu = processor time of this process (a shared\n"
                "machine's wall clock counts other programs too)\n");
    std::printf("%-5s %-10s %9s %9s %13s %9s | %11s %9s %6s %11s\n", "from", "size", "convert", "copy",
                "convert/copy", "+scale", "convert cpu", "copy cpu", "ratio", "+scale cpu");
    unsigned checksum = 0;
    const int sizes[][2] = {{1280, 720}, {1920, 1080}};
    const std::pair<vedio::PixelFormat, const char*> formats[] = {{vedio::PixelFormat::Yuy2, "YUY2"},
                                                                  {vedio::PixelFormat::Nv12, "NV12"}};
    for (const auto& [format, name] : formats) {
        for (const auto& size : sizes) {
            const int width = size[0];
            const int height = size[1];
            std::vector<std::uint8_t> sourceBytes = YuvPicture(format, width, height);
            const vedio::SourceFrame source{sourceBytes.data(), width, height, vedio::DefaultStride(format, width),
                                            format, false};
            std::vector<std::uint8_t> converted(static_cast<std::size_t>(width) * height * 4);
            std::vector<std::uint8_t> copied(sourceBytes.size());
            std::vector<std::uint8_t> scaled(static_cast<std::size_t>(1819) * 1024 * 4);
            const vedio::TargetImage target{scaled.data(), 1819, 1024, 1819 * 4};
            vedio::FrameScaler scaler;
            scaler.Scale(source, target);  // tables outside the timing

            const auto convert = [&](int) {
                for (int y = 0; y < height; ++y)
                    vedio::ConvertYuvRow(source, y, converted.data() + static_cast<std::size_t>(y) * width * 4);
            };
            const auto scale = [&](int) { scaler.Scale(source, target); };
            const auto copy = [&](int i) {
                sourceBytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
                std::memcpy(copied.data(), sourceBytes.data(), sourceBytes.size());
            };
            std::vector<double> convertTimes, copyTimes, scaleTimes, convertCpu, copyCpu, scaleCpu;
            for (int run = 0; run < runs; ++run) {
                convertTimes.push_back(bench::MillisecondsEach(frames, convert));
                copyTimes.push_back(bench::MillisecondsEach(frames, copy));
                scaleTimes.push_back(bench::MillisecondsEach(frames, scale));
                convertCpu.push_back(bench::CpuMillisecondsEach(frames, convert));
                copyCpu.push_back(bench::CpuMillisecondsEach(frames, copy));
                scaleCpu.push_back(bench::CpuMillisecondsEach(frames, scale));
            }
            const double convertMs = Median(convertTimes);
            const double copyMs = Median(copyTimes);
            std::printf("%-5s %4dx%-5d %9.3f %9.3f %13.2f %9.3f | %11.3f %9.3f %6.1f %11.3f\n", name, width, height,
                        convertMs, copyMs, convertMs / copyMs, Median(scaleTimes), Median(convertCpu), Median(copyCpu),
                        Median(convertCpu) / Median(copyCpu), Median(scaleCpu));
            checksum += bench::Checksum(converted) + bench::Checksum(copied) + bench::Checksum(scaled);
        }
    }
    return checksum;
}

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

    checksum += TimeYuv(options.frames, options.runs);

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
