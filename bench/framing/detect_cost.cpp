// Cost of looking for a face as the live check does: FindFaces on a 320 x 180 grey copy of a
// camera frame, timed against a plain pass over the same pixels (summing them), for each test
// photograph placed in a 1280 x 720 frame at three sizes. Also the reduction of the frame to
// that grey copy, and the head's measure (crown and chin read in the frame) around the face
// found. Medians over runs; wall-clock and this thread's CPU time, since a busy
// machine stretches the first but hardly the second.
// Usage: orvia_bench_detect PHOTO_FOLDER [--repeats N] [--runs N]
#include "bench/timing.h"
#include "framing/face_detector.h"
#include "framing/head_measure.h"
#include "still_photo.h"
#include "test_photos.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kFrameWidth = 1280, kFrameHeight = 720;

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Times {
    double wall, cpu;
};

template <typename Work>
Times Each(int count, Work&& work) {
    const double cpu = CpuMs();
    const double wall = bench::MillisecondsEach(count, work);
    return {wall, (CpuMs() - cpu) / count};
}

// The frame as the camera delivers it to the check: BGRX, top row first.
std::vector<std::uint8_t> Frame(const vedio::photo::StillPhoto& photo, const vedio::photo::Placement& place) {
    const std::ptrdiff_t dibStride = kFrameWidth * 3;
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(dibStride) * kFrameHeight);
    vedio::photo::DrawPlaced(photo, place, dib.data(), kFrameWidth, kFrameHeight, dibStride);
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(kFrameWidth) * kFrameHeight * 4);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            for (int k = 0; k < 3; ++k)
                bgrx[(static_cast<std::size_t>(y) * kFrameWidth + x) * 4 + k] =
                    dib[static_cast<std::size_t>((kFrameHeight - 1 - y) * dibStride + x * 3 + k)];
    return bgrx;
}

}  // namespace

int main(int argc, char** argv) {
    struct {
        int repeats = 20;
        int runs = 5;
    } options;
    if (argc < 2 || !bench::ParseCounts<char>(argc - 1, argv + 1, {{"--repeats", &options.repeats}, {"--runs", &options.runs}})) {
        std::fprintf(stderr, "usage: %s PHOTO_FOLDER [--repeats N] [--runs N]\n", argv[0]);
        return 2;
    }
    std::vector<double> detectWall, detectCpu, passWall, passCpu, reduceCpu, measureCpu;
    unsigned checksum = 0;
    std::printf("%-18s %6s %6s %10s %10s %10s %8s %10s\n", "picture", "eyes", "faces", "detect ms", "cpu ms", "pass ms", "ratio",
                "measure ms");
    for (const auto& truth : test_photos::kAll) {
        std::ifstream in(std::string(argv[1]) + "/" + truth.file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto photo = vedio::photo::ReadBmp(bytes.data(), bytes.size());
        if (!photo) {
            std::fprintf(stderr, "cannot read %s/%s\n", argv[1], truth.file);
            return 1;
        }
        // Eye-to-chin distances in the 320-wide copy: a trainee far back, at the desk, close up.
        for (const double eyeToChin : {45.0, 60.0, 80.0}) {
            const double scale = 4 * eyeToChin / (truth.chinY - truth.eyeY);
            const vedio::photo::Placement place{kFrameWidth / 2 - truth.middleX * scale, 0.4 * kFrameHeight - truth.eyeY * scale, scale};
            const auto frame = Frame(*photo, place);
            framing::GrayImage gray;
            reduceCpu.push_back(
                Each(options.repeats, [&](int) { gray = framing::ReduceToGray(frame.data(), kFrameWidth, kFrameHeight, kFrameWidth * 4, 320); })
                    .cpu);
            std::vector<double> wall, cpu, pWall, pCpu;
            std::size_t faces = 0;
            for (int run = 0; run < options.runs; ++run) {
                const Times d = Each(options.repeats, [&](int) { faces = framing::FindFaces(gray.View()).size(); });
                const Times p = Each(options.repeats, [&](int i) {
                    unsigned sum = static_cast<unsigned>(i);
                    for (const std::uint8_t v : gray.pixels) sum += v;
                    checksum += sum;
                });
                wall.push_back(d.wall);
                cpu.push_back(d.cpu);
                pWall.push_back(p.wall);
                pCpu.push_back(p.cpu);
            }
            // The head's measure around the face found, in the frame's own pixels.
            double measure = 0;
            if (const auto found = framing::FindFaces(gray.View()); !found.empty()) {
                framing::HeadEstimate head = framing::EstimateHead(found.front());
                const double up = static_cast<double>(kFrameWidth) / gray.width;
                head = {head.centerX * up, head.crownY * up, head.chinY * up, head.eyeY * up, head.width * up};
                const framing::BgrxView view{frame.data(), kFrameWidth, kFrameHeight, kFrameWidth * 4};
                measure = Each(options.repeats, [&](int) { checksum += framing::MeasureHead(view, head).head.crownMeasured; }).cpu;
                measureCpu.push_back(measure);
            }
            const double dw = bench::Median(wall), dc = bench::Median(cpu), pw = bench::Median(pWall);
            std::printf("%-18s %6.0f %6zu %10.3f %10.3f %10.4f %8.0f %10.3f\n", truth.file, eyeToChin, faces, dw, dc, pw, dw / pw,
                        measure);
            detectWall.push_back(dw);
            detectCpu.push_back(dc);
            passWall.push_back(pw);
            passCpu.push_back(bench::Median(pCpu));
        }
    }
    const double dw = bench::Median(detectWall), dc = bench::Median(detectCpu), pw = bench::Median(passWall);
    std::printf("\n320x180 grey copy of a 1280x720 frame; %d calls per run, %d runs; medians over the pictures\n",
                options.repeats, options.runs);
    std::printf("detect %.3f ms wall, %.3f ms cpu; plain pass %.4f ms; detect/pass %.0f; reduce 1280x720 -> 320x180 %.3f ms cpu\n",
                dw, dc, pw, dw / pw, bench::Median(reduceCpu));
    std::printf("head's measure in the 1280x720 frame %.3f ms cpu (median)\n", bench::Median(measureCpu));
    std::printf("(checksum %08x)\n", checksum);
    return 0;
}
