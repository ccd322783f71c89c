// Times the card reader at the photo desk, with orvia.exe under Wine on an otherwise empty
// screen (bench/run-reader sets it up) and the reader emulator holding 张三's card:
//   start-up  process start to the first painted Main window (its components already beside
//             it), with the reader on COM<port> and with no reader at all, interleaved;
//   card      the card laid on the reader to the trainee's name in the Student label (the
//             watch reads it), against the component calls a read makes (find and select,
//             read, and one scan for each of the two fields), made straight from this process.
//
//   orvia_bench_reader_desk.exe --orvia PATH [--runs N] [--port N]
// The components for the direct calls come from ORVIA_COMPONENT_DIR; the emulator from
// ORVIA_READER_EMULATOR and ORVIA_READER_CARDS.
#include "app/main_controls.h"
#include "bench/reader/reader_library.h"
#include "bench/timing.h"
#include "bench/wine/driver.h"
#include "tests/e2e/accessible_window.h"
#include "tests/e2e/reader_emulator_client.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace mc = app::main_controls;

namespace {

using namespace e2e;
using bench::Median;
using bench::NowMs;

constexpr char kIdentity[] = "张三_110101199003071234";
// "First paint": the window shows white at this window-relative point, where the bare
// screen is black.
constexpr int kProbeX = 150;
constexpr int kProbeY = 20;
constexpr double kLimitMs = 30000;

struct Started {
    double firstPaintMs = -1;
    HWND main = nullptr;
};

// The process's visible top-level window of Orvia's class showing white at the probe.
HWND PaintedWindow(DWORD process) {
    for (HWND window : VisibleWindowsOf(process, L"Orvia.Window")) {
        RECT r{};
        if (!::GetWindowRect(window, &r) || ::GetWindow(window, GW_OWNER)) continue;
        const HDC screen = ::GetDC(nullptr);
        const COLORREF probe = ::GetPixel(screen, r.left + kProbeX, r.top + kProbeY);
        ::ReleaseDC(nullptr, screen);
        if (probe == RGB(255, 255, 255)) return window;
    }
    return nullptr;
}

// Starts orvia.exe copied into `dir` and times its first paint; the process in `process`.
// Its components are there already, as on every start but the first.
Started StartAndTime(const std::wstring& orvia, const TempProgramDir& dir, PROCESS_INFORMATION& process) {
    Started started;
    const std::wstring exe = dir / L"orvia.exe";
    if (!::CopyFileW(orvia.c_str(), exe.c_str(), FALSE)) return started;
    for (const wchar_t* name : {L"termb.dll", L"sdtapi.dll", L"UnPack.dll", L"VedioCapture.dll"}) {
        const std::wstring component = dir / name;
        if (!::CopyFileW(JoinPath(ComponentDir(), name).c_str(), component.c_str(), FALSE)) return started;
        ::SetFileAttributesW(component.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    const double start = NowMs();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(),
                          &startup, &process))
        return started;
    started.firstPaintMs = bench::MsUntil(start, [&] { return (started.main = PaintedWindow(process.dwProcessId)); },
                                          kLimitMs);
    return started;
}

void End(PROCESS_INFORMATION& process) {
    if (!process.hProcess) return;
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    process = {};
    Pause(std::chrono::milliseconds(300));  // its window leaves the screen before the next start
}

// From the card laid on the reader to the identity in the Student label; negative when it
// did not come. The watch reads it: no press.
double TimeCardRead(HWND main, ReaderEmulator& emulator) {
    if (!WaitUntil([&] { return QueryWindowControl(main, mc::kReadCardLabel.name)["shown"] == "1"; }, 10s)) return -1;
    // The label's accessible name is watched with one call a look.
    const AccessibleWindow window(main);
    const long label = window.Find(mc::kStudentLabel.name);
    if (!label) return -1;
    const double start = NowMs();
    if (!emulator.SetCard("zhangsan")) return -1;
    return bench::MsUntil(start, [&] { return window.Name(label) == kIdentity; }, kLimitMs);
}

// The same component work straight from this process: find and select, read, and the
// reader's port asked again before each of the two fields.
double TimeDirectCalls(const bench::ReaderLibrary& reader, int port) {
    if (reader.Scan() != port) return -1;
    const double start = NowMs();
    const bool read = reader.authenticate() == 1 && reader.readContent(4) == 1;
    const bool found = reader.initComm(port) == 1 && reader.initComm(port) == 1;
    const double ms = NowMs() - start;
    reader.closeComm();  // the port is the program's next
    return read && found ? ms : -1;
}


}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int port = bench::PortOption(argc, argv);
    bench::OrviaRun options;
    options.runs = 5;
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_reader_desk [--port N]", options)) return 2;
    if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    bench::ReaderLibrary reader;
    if (!reader.Load()) return 1;

    std::vector<double> withReader, withoutReader, cards, direct;
    for (int run = 0; run <= options.runs; ++run) {  // run 0 warms Wine up and is not counted
        auto emulator = std::make_unique<ReaderEmulator>();
        if (!emulator->Start(port, "zhangsan")) {  // for the direct calls; taken away before Orvia starts
            std::fprintf(stderr, "%s\n", emulator->Error().c_str());
            return 1;
        }
        const double calls = TimeDirectCalls(reader, port);
        emulator->SetCard("none");

        TempProgramDir withDir;
        PROCESS_INFORMATION process{};
        const Started with = StartAndTime(options.orvia, withDir, process);
        const double card = with.main ? TimeCardRead(with.main, *emulator) : -1;
        End(process);
        emulator.reset();  // the reader goes

        TempProgramDir withoutDir;
        const Started without = StartAndTime(options.orvia, withoutDir, process);
        End(process);

        if (with.firstPaintMs < 0 || without.firstPaintMs < 0 || card < 0 || calls < 0) {
            std::fprintf(stderr, "run %d failed: first paint %.0f / %.0f ms, card %.0f ms, direct calls %.0f ms\n",
                         run, with.firstPaintMs, without.firstPaintMs, card, calls);
            continue;
        }
        std::printf("run %d: first paint with reader %.1f ms, without %.1f ms; card laid down to name %.1f ms, "
                    "direct calls %.1f ms%s\n",
                    run, with.firstPaintMs, without.firstPaintMs, card, calls, run == 0 ? " (warm-up)" : "");
        std::fflush(stdout);
        if (run == 0) continue;
        withReader.push_back(with.firstPaintMs);
        withoutReader.push_back(without.firstPaintMs);
        cards.push_back(card);
        direct.push_back(calls);
    }
    if (cards.empty()) return 1;
    std::printf("median of %zu runs:\n", cards.size());
    std::printf("  start to first paint, reader on COM%d: %.1f ms (goal < 1000 ms); without a reader %.1f ms; "
                "ratio %.2f\n",
                port, Median(withReader), Median(withoutReader), Median(withReader) / Median(withoutReader));
    std::printf("  card laid down to name: %.1f ms (goal < 1500 ms); the component calls alone %.1f ms; ratio %.2f\n",
                Median(cards), Median(direct), Median(cards) / Median(direct));
    return 0;
}
