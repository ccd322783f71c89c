// Cost of one brightness press: AdjustBrightness on a capture-sized (295 x 412) slot image,
// timed against a plain copy of as many bytes into a vector allocated beforehand, in the
// same run. Medians over several runs.
// Usage: orvia_bench_brightness [--presses N] [--runs N]
#include "bench/timing.h"
#include "photo/slot_image.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr int kWidth = 295;
constexpr int kHeight = 412;

// A capture of mid-grey shades, so that no press saturates and none is cheaper than another.
std::vector<std::uint8_t> Capture() {
    const std::size_t stride = 4 * static_cast<std::size_t>(kWidth);
    std::vector<std::uint8_t> pixels(stride * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(64 + i * 7 % 128);
    return photo::MakeSlotImage(kWidth, kHeight, pixels, stride);
}

}  // namespace

int main(int argc, char** argv) {
    struct {
        int presses = 500;
        int runs = 7;
    } options;
    if (!bench::ParseCounts<char>(argc, argv, {{"--presses", &options.presses}, {"--runs", &options.runs}})) {
        std::fprintf(stderr, "usage: %s [--presses N] [--runs N]\n", argv[0]);
        return 2;
    }
    std::vector<std::uint8_t> image = Capture();
    const std::size_t bytes = image.size();
    std::vector<std::uint8_t> copied(bytes);
    std::vector<std::uint8_t> adjusted;

    std::vector<double> pressTimes;
    std::vector<double> copyTimes;
    unsigned checksum = 0;
    for (int run = 0; run < options.runs; ++run) {
        // Alternating directions keep the image where it started.
        pressTimes.push_back(bench::MillisecondsEach(options.presses, [&](int i) {
            adjusted = photo::AdjustBrightness(image, i % 2 == 0 ? photo::Direction::Brighter : photo::Direction::Darker);
            checksum += adjusted[bytes / 2];
        }));
        copyTimes.push_back(bench::MillisecondsEach(options.presses, [&](int i) {
            image[bytes - 1] = static_cast<std::uint8_t>(i);
            std::memcpy(copied.data(), image.data(), bytes);
            checksum += copied[bytes / 2];
        }));
    }
    const double press = bench::Median(pressTimes);
    const double copy = bench::Median(copyTimes);
    std::printf("slot image %dx%d, %zu bytes; %d presses per run, %d runs; medians in ms\n", kWidth, kHeight, bytes,
                options.presses, options.runs);
    std::printf("%10s %10s %11s\n", "press", "copy", "press/copy");
    std::printf("%10.4f %10.4f %11.2f\n", press, copy, press / copy);
    std::printf("(checksum %08x)\n", checksum + bench::Checksum(adjusted) + bench::Checksum(copied));
    return 0;
}
