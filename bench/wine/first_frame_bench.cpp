// Times the demonstration camera from the operator's double-click on the camera list to
// its first frame on the screen, with orvia.exe under Wine (or on Windows). The baseline,
// measured in the same run, is the click on "关闭设备" until the frame is black again: the
// same road from input to screen without a camera to start.
//
//   orvia_bench_first_frame.exe --orvia PATH [--runs N]
//
// A path may be a Linux path: /x is read as Z:\x. ORVIA_BENCH_ORVIA stands in for --orvia.
#include "bench/median.h"
#include "platform/win_text.h"
#include "tests/e2e/demo_camera.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
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

bool IsAllBlack(const e2e::Screenshot& shot) { return shot.IsAll(RGB(0, 0, 0)); }

// Milliseconds until the frame's pixels satisfy `done`, polled as fast as the screen can
// be read; negative after 5 s.
template <typename Done>
double MsUntil(const RECT& frame, double from, Done&& done) {
    while (NowMs() - from < 5000) {
        if (done(Screenshot::Capture(frame))) return NowMs() - from;
        ::Sleep(1);
    }
    return -1;
}

POINT CentreOf(const Report& control) {
    return {static_cast<LONG>(ReportNumber(control, "screen_x") + ReportNumber(control, "w") / 2),
            static_cast<LONG>(ReportNumber(control, "screen_y") + ReportNumber(control, "h") / 2)};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring orvia = PathFromEnvironment(L"ORVIA_BENCH_ORVIA");
    int runs = 9;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--orvia") == 0) orvia = WindowsPath(argv[i + 1]);
        if (std::wcscmp(argv[i], L"--runs") == 0) runs = std::max(1, _wtoi(argv[i + 1]));
    }
    if (orvia.empty()) {
        std::fprintf(stderr, "usage: orvia_bench_first_frame --orvia PATH [--runs N]\n");
        return 2;
    }
    TempProgramDir dir;
    if (!::CopyFileW(orvia.c_str(), (dir / L"orvia.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", platform::Narrow(orvia).c_str());
        return 1;
    }
    OrviaProcess program;
    if (!program.Start(dir.Path(), DemoCameraEnvironment())) {
        std::fprintf(stderr, "orvia did not start: %s\n", program.Error().c_str());
        return 1;
    }
    const RECT frame = FrameOnScreen(program);
    const POINT demo = DemoCameraEntry(program);
    const POINT closeDevice = CentreOf(program.Query("按钮1"));

    std::vector<double> firstFrame, backToBlack;
    Screenshot previous;  // the last picture before a close: a new frame differs from it
    for (int run = 0; run < runs; ++run) {
        ClickAt(demo);
        LeftDown();  // the second press makes the double-click
        const double doubleClick = NowMs();
        LeftUp();
        const double shown = MsUntil(frame, doubleClick, [&](const Screenshot& shot) {
            return !IsAllBlack(shot) && !shot.SamePixels(previous);
        });
        Pause(std::chrono::milliseconds(300));
        previous = Screenshot::Capture(frame);
        MoveMouseTo(closeDevice);
        LeftDown();
        const double close = NowMs();
        LeftUp();
        const double black = MsUntil(frame, close, [](const Screenshot& shot) { return IsAllBlack(shot); });
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
