// Times saving a slot's photo as the operator sees it: from the press on OK in the question
// box to <name>.jpg complete in 学员照片, with orvia.exe under Wine (or on Windows) and one
// capture from the demonstration camera in slot 1. The baseline, measured in the same run,
// is the press on Cancel in the same box until the box has gone: the same road from the
// box's button back to the program, without the encoding and the file.
//
//   orvia_bench_save.exe --orvia PATH [--runs N]
#include "app/main_controls.h"
#include "bench/timing.h"
#include "bench/wine/driver.h"
#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace mc = app::main_controls;

namespace {

using namespace e2e;
using bench::Median;
using bench::MsUntil;
using bench::NowMs;

constexpr char kCaptured[] = "295×412";  // slot 1's value once it holds a frame

// A whole JPEG: from its start marker to its end marker.
bool IsCompleteJpeg(const std::wstring& path) {
    const auto bytes = platform::ReadWholeFile(path);
    return bytes && bytes->size() > 4 && (*bytes)[0] == 0xFF && (*bytes)[1] == 0xD8 &&
           (*bytes)[bytes->size() - 2] == 0xFF && bytes->back() == 0xD9;
}

// Double-clicks the board and returns the question box; null when none came.
HWND AskToSave(const OrviaProcess& program, POINT board) {
    DoubleClickAt(board);
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND candidate : VisibleWindowsOf(program.Id(), kDialogClass)) {
            if (MessageBoxText(candidate).find(L"的图片吗？") != std::wstring::npos) box = candidate;
        }
        return box != nullptr;
    });
    return box;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::OrviaRun options;
    if (!bench::ParseOrviaRun(argc, argv, "orvia_bench_save", options)) return 2;
    TempProgramDir dir;
    OrviaProcess program;
    if (!bench::StartOrvia(options, dir, program, L"", true)) return 1;
    ClickAt(CentreOf(program.Query(mc::kPhotoLabel.name)));
    if (!WaitUntil([&] { return program.Query(mc::kSlots[0].board.name)["value"] == kCaptured; })) {
        std::fprintf(stderr, "the capture did not reach slot 1\n");
        return 1;
    }
    const POINT board = CentreOf(program.Query(mc::kSlots[0].board.name));
    const std::wstring name = platform::Wide(program.Query(mc::kStudentLabel.name)["caption"]);
    const std::wstring photo = JoinPath(dir / L"学员照片", name + L".jpg");

    std::vector<double> saved, cancelled;
    for (int run = 0; run < options.runs; ++run) {
        // Each save writes the file anew, so its appearance is the save's.
        ::DeleteFileW(photo.c_str());
        HWND box = AskToSave(program, board);
        if (!box) {
            std::fprintf(stderr, "run %d: no question\n", run + 1);
            continue;
        }
        const double ok = NowMs();
        PressDialogButton(box, IDOK);
        const double onDisk = MsUntil(ok, [&] { return IsPlainFile(photo) && IsCompleteJpeg(photo); });
        WaitUntil([&] { return VisibleWindowsOf(program.Id(), kDialogClass).empty(); });
        Pause(std::chrono::milliseconds(200));

        box = AskToSave(program, board);
        if (!box) {
            std::fprintf(stderr, "run %d: no question for the baseline\n", run + 1);
            continue;
        }
        const double cancel = NowMs();
        PressDialogButton(box, IDCANCEL);
        const double closed = MsUntil(cancel, [&] { return !::IsWindowVisible(box); });
        Pause(std::chrono::milliseconds(200));
        if (onDisk < 0 || closed < 0) {
            std::fprintf(stderr, "run %d: %s\n", run + 1, onDisk < 0 ? "no file after OK" : "the box stayed after Cancel");
            continue;
        }
        saved.push_back(onDisk);
        cancelled.push_back(closed);
        std::printf("run %d: OK to file on disk %.1f ms, Cancel to box gone %.1f ms\n", run + 1, onDisk, closed);
    }
    if (saved.empty()) return 1;
    const double savedMs = Median(saved);
    const double cancelledMs = Median(cancelled);
    std::printf("median of %zu runs: OK to file on disk %.1f ms (goal < 100 ms); Cancel to box gone %.1f ms; "
                "difference %.1f ms\n",
                saved.size(), savedMs, cancelledMs, savedMs - cancelledMs);
    return 0;
}
