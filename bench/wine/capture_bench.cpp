// Times a capture as the operator sees it: from the Enter key to the picture painted in its
// slot, with orvia.exe under Wine (or on Windows) and the demonstration camera showing a
// still picture. The baseline, measured in the same run, is the Left key until the nudged
// picture shows in the frame: the same road from a hotkey to the screen, without a capture.
//
//   orvia_bench_capture.exe --orvia PATH [--runs N]
#include "bench/timing.h"
#include "bench/wine/driver.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace e2e;
using bench::Median;
using bench::NowMs;

// Presses `key` and returns the milliseconds until `area` on the screen differs from how it
// was before; negative after 3 s.
double MsUntilChanged(WORD key, const RECT& area) {
    const Screenshot before = Screenshot::Capture(area);
    const double start = NowMs();
    PressKey(key);
    return bench::MsUntil(start, [&] { return !Screenshot::Capture(area).SamePixels(before); }, 3000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::OrviaRun options;
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_capture", options)) return 2;
    TempProgramDir dir;
    OrviaProcess program;
    if (!bench::StartOrvia(options, dir, program, L"still", true)) return 1;
    Pause(std::chrono::milliseconds(300));
    const RECT frame = FrameOnScreen(program.MainWindow());
    std::vector<double> capture, nudge;
    for (int run = 0; run < options.runs; ++run) {
        const int slot = run % 4 + 1;
        const RECT board = OnScreen(program.Query("画板" + std::to_string(slot)));
        const double captured = MsUntilChanged(VK_RETURN, board);
        Pause(std::chrono::milliseconds(200));
        // Always left: every capture then shows the still picture at a place of its own, so a
        // slot filled again changes too.
        const double nudged = MsUntilChanged(VK_LEFT, frame);
        Pause(std::chrono::milliseconds(200));
        if (captured < 0 || nudged < 0) {
            std::fprintf(stderr, "run %d: %s did not show\n", run + 1, captured < 0 ? "the capture" : "the nudge");
            continue;
        }
        capture.push_back(captured);
        nudge.push_back(nudged);
        std::printf("run %d: Enter to slot %d painted %.1f ms, Left to frame moved %.1f ms\n", run + 1, slot,
                    captured, nudged);
    }
    if (capture.empty()) return 1;
    std::printf("median of %zu runs: capture %.1f ms (goal < 50 ms); nudge %.1f ms; ratio %.2f\n", capture.size(),
                Median(capture), Median(nudge), Median(capture) / Median(nudge));
    return 0;
}
