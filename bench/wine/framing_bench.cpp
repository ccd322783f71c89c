// The framing guide's cost and speed with orvia.exe under Wine (or on Windows), the demo
// camera playing the astronaut's portrait before a flat backdrop:
//   - the CPU the program uses with the camera running and the live check on (the guide
//     shown) against the same with the guide hidden from the settings menu (check off),
//     in alternating spans, medians;
//   - the time from the F key to a framed head, from a small off-centre head: to the slider
//     and the box moved (the plan applied), and to the guide turning green (the framed head
//     on screen and the live check agreeing), each from a fresh start, medians.
//
//   orvia_bench_framing.exe --orvia PATH [--runs N] [--spans N] [--seconds N]
// The test photographs come from ORVIA_TEST_PHOTOS (bench/run-framing-guide sets it).
#include "app/main_controls.h"
#include "bench/timing.h"
#include "bench/wine/driver.h"
#include "bench/wine/process_cpu.h"
#include "framing/guide_drawing.h"
#include "framing/guide_geometry.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "tests/e2e/demo_photo.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace mc = app::main_controls;

namespace {

using namespace e2e;
using bench::Median;
using bench::NowMs;

constexpr int kGuideShows = 1000;  // guide pixels of one colour on screen

int GuidePixels(HWND main, framing::GuideColour colour) {
    const std::uint32_t rgb = framing::GuideRgb(colour);
    const Screenshot shot = Screenshot::Capture(FrameOnScreen(main));
    return shot.CountColour({0, 0, shot.Width(), shot.Height()},
                            RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

ui::Rect Box(const OrviaProcess& program) {
    const Report box = program.Query(mc::kPreviewBox.name), frame = program.Query(mc::kPreviewFrame.name);
    return {static_cast<int>(ReportNumber(box, "x") - ReportNumber(frame, "x")),
            static_cast<int>(ReportNumber(box, "y") - ReportNumber(frame, "y")), static_cast<int>(ReportNumber(box, "w")),
            static_cast<int>(ReportNumber(box, "h"))};
}

long long ZoomPosition(const OrviaProcess& program) { return ReportNumber(program.Query(mc::kZoomSlider.name), "position"); }

// Picks "显示取景框" in the settings pop-up with the keyboard.
bool ToggleGuide(const OrviaProcess& program) {
    ClickAt(CentreOf(program.Query(mc::kSettingsButton.name)));
    if (!WaitForWindowOf(program.Id(), kMenuClass)) return false;
    for (int i = 0; i < 3; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return WaitUntil([&] { return VisibleWindowsOf(program.Id(), kMenuClass).empty(); });
}

bool Start(const bench::OrviaRun& run, const TempProgramDir& dir, const DemoPhoto& photo, OrviaProcess& program) {
    if (!::CopyFileW(run.orvia.c_str(), (dir / L"orvia.exe").c_str(), FALSE) ||
        !program.Start(dir.Path(), photo.Environment()) || !StartDemoCamera(program.MainWindow())) {
        std::fprintf(stderr, "orvia did not start with the camera running: %s\n", program.Error().c_str());
        return false;
    }
    return true;
}

// Percent of one core over `seconds`.
double CpuPercent(const bench::ProcessCpu& cpu, int seconds) {
    const double before = cpu.Seconds();
    const double start = NowMs();
    Pause(std::chrono::seconds(seconds));
    const double elapsed = (NowMs() - start) / 1000;
    return 100 * (cpu.Seconds() - before) / elapsed;
}

int ReadOption(int& argc, wchar_t** argv, const wchar_t* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], name) != 0) continue;
        const int value = std::wcstol(argv[i + 1], nullptr, 10);
        for (int k = i; k + 2 < argc; ++k) argv[k] = argv[k + 2];
        argc -= 2;
        return value > 0 ? value : fallback;
    }
    return fallback;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int spans = ReadOption(argc, argv, L"--spans", 3);
    const int seconds = ReadOption(argc, argv, L"--seconds", 6);
    bench::OrviaRun options{.runs = 5};
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_framing", options)) return 2;

    // ---- CPU, check on and off ----------------------------------------------------------
    std::vector<double> on, off;
    {
        TempProgramDir dir;
        DemoPhoto photo(dir.Path(), test_photos::kAstronautFlat);
        if (!photo.Available()) {
            std::fprintf(stderr, "no test photographs: set ORVIA_TEST_PHOTOS\n");
            return 2;
        }
        photo.Place({0, 0, 1});
        OrviaProcess program;
        if (!Start(options, dir, photo, program)) return 1;
        const ui::Rect box = Box(program);
        photo.Place(PlaceHead(photo.Face(), box, framing::kGuideCentreX, framing::kCrownLine.Middle(),
                              framing::kHeadLength.Middle()));
        if (!WaitUntil([&] { return GuidePixels(program.MainWindow(), framing::GuideColour::Green) > kGuideShows; }, 10s))
            std::fprintf(stderr, "the guide did not turn green on the framed head\n");
        const bench::ProcessCpu cpu(program.Handle(), dir.Path());
        if (!cpu.Readable()) {
            std::fprintf(stderr, "orvia.exe not found in /proc\n");
            return 1;
        }
        for (int span = 0; span < spans; ++span) {
            Pause(1s);
            on.push_back(CpuPercent(cpu, seconds));
            if (!ToggleGuide(program)) return 1;  // off
            Pause(1s);
            off.push_back(CpuPercent(cpu, seconds));
            if (!ToggleGuide(program)) return 1;  // on again
            std::printf("span %d: check on %.1f %%, off %.1f %% of one core\n", span + 1, on.back(), off.back());
        }
    }

    // ---- F to a framed head --------------------------------------------------------------
    std::vector<double> applied, green;
    for (int run = 0; run < options.runs; ++run) {
        TempProgramDir dir;
        DemoPhoto photo(dir.Path(), test_photos::kAstronautFlat);
        photo.Place({0, 0, 1});
        OrviaProcess program;
        if (!Start(options, dir, photo, program)) return 1;
        photo.Place(PlaceHead(photo.Face(), Box(program), framing::kGuideCentreX - 65,
                              framing::kCrownLine.Middle() + 70, 215));
        if (!WaitUntil([&] { return GuidePixels(program.MainWindow(), framing::GuideColour::Amber) > kGuideShows; }, 10s) ||
            !BringToForeground(program.MainWindow())) {
            std::fprintf(stderr, "run %d: the small head was not found\n", run + 1);
            continue;
        }
        const long long zoom = ZoomPosition(program);
        PressKey('F');
        const double pressed = NowMs();
        const double moved = bench::MsUntil(pressed, [&] { return ZoomPosition(program) != zoom; });
        const double framed = bench::MsUntil(
            pressed, [&] { return GuidePixels(program.MainWindow(), framing::GuideColour::Green) > kGuideShows; });
        if (moved < 0 || framed < 0) {
            std::fprintf(stderr, "run %d: %s\n", run + 1, moved < 0 ? "nothing moved" : "the guide did not turn green");
            continue;
        }
        applied.push_back(moved);
        green.push_back(framed);
        std::printf("run %d: F to slider and box moved %.0f ms, to the guide green %.0f ms\n", run + 1, moved, framed);
    }

    std::printf("CPU with the camera running, median of %d spans of %d s: check on %.1f %%, off %.1f %% of one core, "
                "difference %+.1f %% (goal at most +10 %%)\n",
                spans, seconds, Median(on), Median(off), Median(on) - Median(off));
    if (!applied.empty())
        std::printf("F to a framed head, median of %zu runs: slider and box moved %.0f ms, guide green %.0f ms "
                    "(goal < 500 ms)\n",
                    applied.size(), Median(applied), Median(green));
    return applied.empty() ? 1 : 0;
}
