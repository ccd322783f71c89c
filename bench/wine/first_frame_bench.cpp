// Times the demonstration camera from the operator's double-click on the camera list to
// its first frame on the screen, with orvia.exe under Wine (or on Windows). The baseline,
// measured in the same run, is the click on "关闭设备" until the frame is black again: the
// same road from input to screen without a camera to start.
//
//   orvia_bench_first_frame.exe --orvia PATH [--runs N]
#include "app/main_controls.h"
#include "bench/timing.h"
#include "bench/wine/driver.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace mc = app::main_controls;

namespace {

using namespace e2e;
using bench::Median;
using bench::NowMs;

bool IsAllBlack(const Screenshot& shot) { return shot.IsAll(RGB(0, 0, 0)); }

// Milliseconds from `from` until the frame's pixels satisfy `done`; negative after 5 s.
template <typename Done>
double MsUntilFrame(const RECT& frame, double from, Done&& done) {
    return bench::MsUntil(from, [&] { return done(Screenshot::Capture(frame)); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::OrviaRun options{.runs = 9};
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_first_frame", options)) return 2;
    TempProgramDir dir;
    OrviaProcess program;
    if (!bench::StartOrvia(options, dir, program, L"", false)) return 1;
    const RECT frame = FrameOnScreen(program.MainWindow());
    const POINT demo = DemoCameraEntry(program.MainWindow());
    const POINT closeDevice = CentreOf(program.Query(mc::kCloseDevice.name));

    std::vector<double> firstFrame, backToBlack;
    Screenshot previous;  // the last picture before a close: a new frame differs from it
    for (int run = 0; run < options.runs; ++run) {
        ClickAt(demo);
        LeftDown();  // the second press makes the double-click
        const double doubleClick = NowMs();
        LeftUp();
        const double shown = MsUntilFrame(frame, doubleClick, [&](const Screenshot& shot) {
            return !IsAllBlack(shot) && !shot.SamePixels(previous);
        });
        Pause(std::chrono::milliseconds(300));
        previous = Screenshot::Capture(frame);
        MoveMouseTo(closeDevice);
        LeftDown();
        const double close = NowMs();
        LeftUp();
        const double black = MsUntilFrame(frame, close, [](const Screenshot& shot) { return IsAllBlack(shot); });
        // Long enough that the start is a fresh one, not a restart showing the last picture.
        Pause(std::chrono::milliseconds(1200));
        if (shown < 0 || black < 0) {
            std::fprintf(stderr, "run %d: no %s\n", run + 1, shown < 0 ? "picture" : "black after closing");
            continue;
        }
        firstFrame.push_back(shown);
        backToBlack.push_back(black);
        std::printf("run %d: first frame %.1f ms, close to black %.1f ms\n", run + 1, shown, black);
    }
    if (firstFrame.empty()) return 1;
    const double frameMs = Median(firstFrame);
    const double blackMs = Median(backToBlack);
    std::printf("median of %zu runs: double-click to first frame %.1f ms (goal < 300 ms); "
                "close to black %.1f ms; ratio %.2f\n",
                firstFrame.size(), frameMs, blackMs, frameMs / blackMs);
    return 0;
}
