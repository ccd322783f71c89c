// Times a capture as the operator sees it: from the Enter key to the picture painted in its
// slot, with orvia.exe under Wine (or on Windows) and the demonstration camera showing a
// still picture. The baseline, measured in the same run, is the Left key until the nudged
// picture shows in the frame: the same road from a hotkey to the screen, without a capture.
//
//   orvia_bench_capture.exe --orvia PATH [--runs N]
//
// A path may be a Linux path: /x is read as Z:\x. ORVIA_BENCH_ORVIA stands in for --orvia.
#include "bench/median.h"
#include "platform/win_text.h"
#include "tests/e2e/demo_camera.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace e2e;
using bench::Median;

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

RECT OnScreen(const Report& control) {
    const LONG x = static_cast<LONG>(ReportNumber(control, "screen_x"));
    const LONG y = static_cast<LONG>(ReportNumber(control, "screen_y"));
    return {x, y, x + static_cast<LONG>(ReportNumber(control, "w")), y + static_cast<LONG>(ReportNumber(control, "h"))};
}

// Presses `key` and returns the milliseconds until `area` on the screen differs from how it
// was before; negative after 3 s.
double MsUntilChanged(WORD key, const RECT& area) {
    const Screenshot before = Screenshot::Capture(area);
    const double start = NowMs();
    PressKey(key);
    while (NowMs() - start < 3000) {
        if (!Screenshot::Capture(area).SamePixels(before)) return NowMs() - start;
        ::Sleep(1);
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring orvia = PathFromEnvironment(L"ORVIA_BENCH_ORVIA");
    int runs = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--orvia") == 0) orvia = WindowsPath(argv[i + 1]);
        if (std::wcscmp(argv[i], L"--runs") == 0) runs = std::max(1, _wtoi(argv[i + 1]));
    }
    if (orvia.empty()) {
        std::fprintf(stderr, "usage: orvia_bench_capture --orvia PATH [--runs N]\n");
        return 2;
    }
    TempProgramDir dir;
    OrviaProcess program;
    if (!::CopyFileW(orvia.c_str(), (dir / L"orvia.exe").c_str(), FALSE) ||
        !program.Start(dir.Path(), DemoCameraEnvironment(L"frozen")) || !StartDemoCamera(program)) {
        std::fprintf(stderr, "orvia did not start with its demonstration camera: %s\n", program.Error().c_str());
        return 1;
    }
    Pause(std::chrono::milliseconds(300));
    const RECT frame = FrameOnScreen(program);
    std::vector<double> capture, nudge;
    for (int run = 0; run < runs; ++run) {
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
