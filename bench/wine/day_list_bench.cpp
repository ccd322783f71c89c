// The day's list under Wine, timed inside one process on the code orvia.exe runs: a
// 5,000-row class list imported from CSV (GBK, as a spreadsheet's plain CSV is on a Chinese
// Windows) and from .xlsx (read, checked, kept as 学员名单.csv, the photo folder of 500
// photos listed); the list window opened with it (the kept list read at the first open)
// until every control has painted, and until its shadow too; and the 500 photos packed, against the same files copied.
// Usage: orvia_bench_day_list --workbook <.xlsx, 5,000 rows> [--runs N]
#include "app/startup.h"
#include "app/trainee_list.h"
#include "bench/timing.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "roster/hand_over.h"
#include "roster/id_number.h"
#include "roster/photo_status.h"
#include "roster/record_file.h"

#include <commctrl.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kTrainees = 5000;
constexpr int kPhotos = 500;
constexpr std::size_t kPhotoBytes = 36 * 1024;  // a saved 295 × 412 portrait

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The trainees bench/roster/make_workbook.py writes, in the same order.
std::vector<roster::Trainee> MakeTrainees() {
    const std::u32string surnames = U"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗";
    const std::u32string given = U"伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华";
    const auto utf8 = [](char32_t c) { return platform::Narrow(std::wstring(1, static_cast<wchar_t>(c))); };
    std::vector<roster::Trainee> trainees;
    for (int i = 0; i < kTrainees; ++i) {
        char first17[18];
        std::snprintf(first17, sizeof first17, "110105%04d%02d%02d%03d", 1960 + i % 40, 1 + i % 12, 1 + i % 28, i % 1000);
        const std::size_t s = static_cast<std::size_t>(i) % surnames.size();
        const std::size_t g1 = static_cast<std::size_t>(i) / surnames.size() % given.size();
        const std::size_t g2 = static_cast<std::size_t>(i) % given.size();
        trainees.push_back({utf8(surnames[s]) + utf8(given[g1]) + utf8(given[g2]),
                            std::string(first17) + *roster::IdCheckCharacter(first17),
                            std::to_string(1 + i % 20) + "班", i + 2});
    }
    return trainees;
}

std::string GbkCsv(const std::vector<roster::Trainee>& trainees) {
    std::wstring text = L"姓名,身份证号码,班级\r\n";
    for (const roster::Trainee& t : trainees)
        text += platform::Wide(t.name + "," + t.idNumber + "," + t.className) + L"\r\n";
    return platform::ToCodePage(text, 936);
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Read, checked, kept beside the program and matched against the photo folder, as an
// import does after the file dialog.
double ImportMs(const std::wstring& file, const std::wstring& programDir, const std::wstring& photoDir) {
    const double start = bench::NowMs();
    roster::ListFile read = roster::ReadListFile(file, roster::LocalTimeNow().date);
    roster::WriteListFile(platform::JoinPath(programDir, L"学员名单.csv"), read.list.trainees);
    roster::DayList list;
    list.SetTrainees(std::move(read.list.trainees));
    list.SetPhotos(roster::ListPhotoFolder(photoDir));
    const double ms = bench::NowMs() - start;
    if (list.Trainees().size() != kTrainees || list.Status().taken != kPhotos) {
        std::fprintf(stderr, "import read %zu trainees, %zu photos\n", list.Trainees().size(), list.Status().taken);
        std::exit(1);
    }
    return ms;
}

struct OwnedWindow {
    HWND owner, found = nullptr;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM context) {
    auto* find = reinterpret_cast<OwnedWindow*>(context);
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != find->owner) return TRUE;
    find->found = window;
    return FALSE;
}

HWND ListWindowOf(DWORD thread, HWND owner) {
    OwnedWindow find{owner};
    ::EnumThreadWindows(thread, &FindOwned, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || std::wstring_view(argv[1]) != L"--workbook") {
        std::fprintf(stderr, "usage: orvia_bench_day_list --workbook FILE [--runs N]\n");
        return 2;
    }
    const std::wstring workbook = argv[2];
    int runs = 7;
    if (!bench::ParseCounts<wchar_t>(argc - 2, argv + 2, {{L"--runs", &runs}})) return 2;

    app::StartGdiplusOnce();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring programDir = platform::JoinPath(temp, L"orvia-day-list-" + std::to_wstring(::GetCurrentProcessId()));
    const std::wstring photoDir = platform::JoinPath(programDir, L"学员照片");
    const std::wstring copies = platform::JoinPath(programDir, L"copies");
    ::CreateDirectoryW(programDir.c_str(), nullptr);
    ::CreateDirectoryW(photoDir.c_str(), nullptr);

    const std::vector<roster::Trainee> trainees = MakeTrainees();
    const std::wstring csv = platform::JoinPath(programDir, L"名单.csv");
    platform::WriteWholeFile(csv, Bytes(GbkCsv(trainees)));
    std::mt19937 random(7);
    std::vector<std::uint8_t> jpeg(kPhotoBytes);
    for (int i = 0; i < kPhotos; ++i) {
        for (auto& b : jpeg) b = static_cast<std::uint8_t>(random());
        platform::WriteWholeFile(platform::JoinPath(photoDir, platform::Wide(roster::PhotoFileName(trainees[static_cast<std::size_t>(i)]))), jpeg);
    }

    std::vector<double> csvMs, xlsxMs, firstOpenMs, openMs, firstShadowMs, shadowMs, packMs, copyMs;
    for (int run = 0; run < runs; ++run) {
        csvMs.push_back(ImportMs(csv, programDir, photoDir));
        xlsxMs.push_back(ImportMs(workbook, programDir, photoDir));
    }

    // The window: a fresh owner of the list each run, so the first open reads the kept list.
    static const ui::WindowTemplate ownerLayout{200, 100, {}, {}};
    for (int run = 0; run < runs; ++run) {
        auto owner = ui::Window::Create(ownerLayout, {});
        app::TraineeList list(programDir, photoDir, [](const std::string&) {});
        for (int open = 0; open < 2; ++open) {
            const double start = bench::NowMs();
            list.OpenWindow(*owner);
            // Anything the list view still had to paint, then the shadow posted after the
            // first paint.
            HWND shown = ListWindowOf(::GetCurrentThreadId(), owner->Handle());
            ::RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            (open == 0 ? firstOpenMs : openMs).push_back(bench::NowMs() - start);
            PumpMessages();
            (open == 0 ? firstShadowMs : shadowMs).push_back(bench::NowMs() - start);
            ::DestroyWindow(shown);
            PumpMessages();
        }
        ::DestroyWindow(owner->Handle());
        PumpMessages();
    }

    // Packing against copying the same 500 files.
    roster::DayList list;
    list.SetTrainees(trainees);
    list.SetPhotos(roster::ListPhotoFolder(photoDir));
    const std::wstring archive = platform::JoinPath(programDir, L"学员照片_bench.zip");
    for (int run = 0; run < runs; ++run) {
        double start = bench::NowMs();
        const roster::PackOutcome packed = roster::PackPhotos(archive, photoDir, list, roster::LocalTimeNow());
        packMs.push_back(bench::NowMs() - start);
        if (packed.error != 0 || packed.photos != kPhotos) return 1;
        ::CreateDirectoryW(copies.c_str(), nullptr);
        start = bench::NowMs();
        for (const roster::TraineePhoto& photo : list.Status().trainees) {
            if (!photo.taken) continue;
            const std::wstring name = platform::Wide(photo.fileName);
            ::CopyFileW(platform::JoinPath(photoDir, name).c_str(), platform::JoinPath(copies, name).c_str(), FALSE);
        }
        copyMs.push_back(bench::NowMs() - start);
        for (const roster::TraineePhoto& photo : list.Status().trainees)
            if (photo.taken) ::DeleteFileW(platform::JoinPath(copies, platform::Wide(photo.fileName)).c_str());
        ::RemoveDirectoryW(copies.c_str());
        ::DeleteFileW(archive.c_str());
    }

    const auto row = [](const char* what, const std::vector<double>& ms) {
        std::printf("%-44s median %8.1f ms  (min %.1f, max %.1f, %zu runs)\n", what, bench::Median(ms),
                    *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()), ms.size());
    };
    row("import 5,000 rows, CSV (GBK)", csvMs);
    row("import 5,000 rows, .xlsx", xlsxMs);
    row("list window painted, list read first", firstOpenMs);
    row("list window painted, again", openMs);
    row("  and with its shadow, list read first", firstShadowMs);
    row("  and with its shadow, again", shadowMs);
    row("pack 500 photos", packMs);
    row("copy the same 500 photos", copyMs);
    std::printf("pack / copy: %.2f\n", bench::Median(packMs) / bench::Median(copyMs));

    // Leaves nothing behind.
    for (const roster::TraineePhoto& photo : list.Status().trainees)
        if (photo.taken) ::DeleteFileW(platform::JoinPath(photoDir, platform::Wide(photo.fileName)).c_str());
    for (const wchar_t* name : {L"名单.csv", L"学员名单.csv"}) ::DeleteFileW(platform::JoinPath(programDir, name).c_str());
    ::RemoveDirectoryW(photoDir.c_str());
    ::RemoveDirectoryW(programDir.c_str());
    return 0;
}
