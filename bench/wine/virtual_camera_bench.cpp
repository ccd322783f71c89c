// Times a webcam through the real capture graph: the virtual camera, registered for the run,
// started with a double-click in orvia.exe under Wine (or on Windows), in each pixel format.
//   - double-click to the first frame on screen (fresh starts, 1.2 s apart);
//   - per frame while it runs: orvia's processor time for each frame the camera delivers
//     (capture graph, conversion, scaling, drawing), and the frames per second that reach
//     the screen (the moving block seen at a new place).
//
//   orvia_bench_virtual_camera.exe --orvia PATH [--runs N]   (ORVIA_VIRTUAL_CAMERA: the DLL)
#include "app/main_controls.h"
#include "bench/timing.h"
#include "bench/wine/driver.h"
#include "bench/wine/process_cpu.h"
#include "tests/e2e/virtual_camera.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace mc = app::main_controls;

namespace {

using namespace e2e;
using bench::Median;
using bench::NowMs;

struct FormatFigures {
    double firstFrameMs = -1;
    double processorPerFrameMs = -1;
    double framesPerSecond = -1;
};

FormatFigures TimeFormat(const bench::OrviaRun& options, vcam::PixelFormat format) {
    FormatFigures figures;
    TempProgramDir dir;
    OrviaProcess program;
    const std::string only = "only " + std::string(vcam::FormatName(format));
    if (!TellVirtualCamera(dir.Path(), only) || !::CopyFileW(options.orvia.c_str(), (dir / L"orvia.exe").c_str(), FALSE) ||
        !program.Start(dir.Path(), VirtualCameraEnvironment(dir.Path()))) {
        std::fprintf(stderr, "orvia did not start: %s\n", program.Error().c_str());
        return figures;
    }
    const std::optional<POINT> entry = VirtualCameraEntry(program.MainWindow());
    if (!entry) {
        std::fprintf(stderr, "the virtual camera is not listed\n");
        return figures;
    }
    const RECT frame = FrameOnScreen(program.MainWindow());
    const POINT closeDevice = CentreOf(program.Query(mc::kCloseDevice.name));
    const auto black = [&] { return Screenshot::Capture(frame).IsAll(RGB(0, 0, 0)); };

    std::vector<double> firstFrames;
    for (int run = 0; run < options.runs; ++run) {
        ClickAt(*entry);
        LeftDown();  // the second press makes the double-click
        const double doubleClick = NowMs();
        LeftUp();
        const double shown = bench::MsUntil(doubleClick, [&] { return !black(); });
        if (shown >= 0) firstFrames.push_back(shown);
        Pause(std::chrono::milliseconds(300));
        if (run + 1 == options.runs) break;  // the last start stays running for the frame figures
        ClickAt(closeDevice);
        bench::MsUntil(NowMs(), black);
        Pause(std::chrono::milliseconds(1200));  // a fresh start, not a restart
    }
    figures.firstFrameMs = Median(firstFrames);

    // Frames on screen: the block's track, sampled as fast as the screen can be read.
    const RECT box = PreviewBoxInFrame(program.MainWindow());
    const vcam::Box track = vcam::TrackBox(vcam::kFrameSizes[2]);
    const auto toScreen = [&](int x, int y) {
        return POINT{frame.left + box.left + static_cast<LONG>(static_cast<long long>(x) * (box.right - box.left) / 1920),
                     frame.top + box.top + static_cast<LONG>(static_cast<long long>(y) * (box.bottom - box.top) / 1080)};
    };
    const POINT trackTopLeft = toScreen(track.left, track.top);
    const POINT trackBottomRight = toScreen(track.right, track.bottom);
    const RECT trackOnScreen{trackTopLeft.x, trackTopLeft.y, trackBottomRight.x, trackBottomRight.y};
    constexpr double kWindowMs = 5000;
    const bench::ProcessCpu processor(program.Handle(), dir.Path());
    const double cpuStart = processor.Seconds() * 1000.0;
    const double start = NowMs();
    int changes = 0;
    std::uint64_t last = Screenshot::Capture(trackOnScreen).Hash();
    while (NowMs() - start < kWindowMs) {
        const std::uint64_t now = Screenshot::Capture(trackOnScreen).Hash();
        if (now != last) ++changes;
        last = now;
        ::Sleep(2);
    }
    const double elapsed = NowMs() - start;
    const double cpu = processor.Seconds() * 1000.0 - cpuStart;
    // The camera delivers at its own pace.
    const double delivered = elapsed / 1000.0 * vcam::kFramesPerSecond;
    figures.processorPerFrameMs = cpu / delivered;
    figures.framesPerSecond = changes / (elapsed / 1000.0);
    return figures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::OrviaRun options{.runs = 7};
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_virtual_camera", options)) return 2;
    VirtualCameraRegistration registration;
    if (!registration.Error().empty()) {
        std::fprintf(stderr, "%s\n", registration.Error().c_str());
        return 1;
    }
    int failed = 0;
    for (const vcam::PixelFormat format : vcam::kPixelFormats) {
        const FormatFigures f = TimeFormat(options, format);
        const std::string name(vcam::FormatName(format));
        if (f.firstFrameMs < 0) {
            std::printf("%-5s 1920x1080: no picture\n", name.c_str());
            ++failed;
            continue;
        }
        std::printf("%-5s 1920x1080: double-click to first frame %.1f ms (median of %d, goal < 300 ms); "
                    "orvia %.2f ms processor time a frame; %.1f frames a second on screen\n",
                    name.c_str(), f.firstFrameMs, options.runs, f.processorPerFrameMs, f.framesPerSecond);
    }
    return failed == 0 ? 0 : 1;
}
