// Times how long orvia.exe takes from process start to its first painted Main window,
// next to a minimal borderless window started the same way in the same run, and reads
// the program's size and private memory. Meant to run under Wine on an otherwise empty
// X screen (bench/run-startup sets that up); it also runs on Windows.
//
//   orvia_bench_startup.exe --orvia PATH --minimal PATH [--runs N] [--warmup N] [--settle-ms N]
//
// Paths may be Linux paths: /x is read as Z:\x. ORVIA_BENCH_ORVIA and ORVIA_BENCH_MINIMAL
// stand in for missing arguments.
//
// Each run copies the programs into fresh directories and starts, in turn: orvia.exe with
// no components beside it (it writes them), the minimal window, orvia.exe again (the
// components now exist: the everyday start), the minimal window again. "First paint" is
// the moment a visible top-level window of the started process shows white at
// window-relative (150,20): the bare X screen is black there, Orvia's background is white.
#include "bench/timing.h"
#include "platform/host.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using e2e::RemoveTree;
using e2e::WindowsPath;
using platform::Narrow;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kProbeX = 150;
constexpr int kProbeY = 20;
// Both programs centre a window of this size; the probe point on a clear screen is
// checked there before every start.
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 650;
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kClearTimeoutMs = 10000;

struct Options {
    std::wstring orvia;
    std::wstring minimal;
    int runs = 5;
    int warmup = 1;
    DWORD settleMs = 1000;
};

struct Start {
    bool ok = false;
    double ms = 0;
    SIZE_T privateBytes = 0;
    bool privateFromPagefile = false;
    std::string failure;
};

struct FileEntry {
    std::string name;
    ULONGLONG bytes = 0;
};

std::wstring FileName(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

using bench::Median;

double MiB(double bytes) { return bytes / (1024.0 * 1024.0); }

class Clock {
public:
    Clock() { ::QueryPerformanceFrequency(&frequency_); }
    LONGLONG Now() const {
        LARGE_INTEGER t;
        ::QueryPerformanceCounter(&t);
        return t.QuadPart;
    }
    double Ms(LONGLONG from, LONGLONG to) const {
        return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
};

// ---- program directories ----------------------------------------------------------------

// A new, empty directory under the temporary directory holding a copy of `program`;
// returns the copy's path, or nothing when the copy failed.
std::wstring FreshCopy(const std::wstring& program, const std::wstring& label, std::wstring& directory) {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base = n ? std::wstring(temp, n) : std::wstring(L".\\");
    if (base.back() != L'\\') base += L'\\';
    directory = base + L"orvia-bench-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"-" + label;
    RemoveTree(directory);
    if (!::CreateDirectoryW(directory.c_str(), nullptr)) return {};
    const std::wstring copy = directory + L"\\" + FileName(program);
    if (!::CopyFileW(program.c_str(), copy.c_str(), FALSE)) return {};
    return copy;
}

std::vector<FileEntry> Libraries(const std::wstring& directory) {
    std::vector<FileEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((directory + L"\\*.dll").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        entries.push_back({Narrow(found.cFileName),
                           (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    return entries;
}

// ---- the screen -------------------------------------------------------------------------

class Screen {
public:
    Screen() : dc_(::GetDC(nullptr)) {}
    ~Screen() {
        if (dc_) ::ReleaseDC(nullptr, dc_);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool IsWhite(int x, int y) const { return dc_ && ::GetPixel(dc_, x, y) == kWhite; }
    HDC Dc() const { return dc_; }

    // Where the probe falls for a window centred as both programs centre theirs.
    POINT CentredProbe() const {
        return {(::GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2 + kProbeX,
                (::GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2 + kProbeY};
    }

    // Waits until the last program's window has left the screen.
    bool WaitUntilClear() const {
        const POINT p = CentredProbe();
        const ULONGLONG until = ::GetTickCount64() + kClearTimeoutMs;
        while (IsWhite(p.x, p.y)) {
            if (::GetTickCount64() > until) return false;
            ::Sleep(5);
        }
        return true;
    }

private:
    HDC dc_;
};

struct WindowSearch {
    DWORD pid = 0;
    const Screen* screen = nullptr;
    bool painted = false;
};

BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search.pid || !::IsWindowVisible(hwnd)) return TRUE;
    RECT r{};
    if (!::GetWindowRect(hwnd, &r) || r.right - r.left <= kProbeX || r.bottom - r.top <= kProbeY) return TRUE;
    if (search.screen->IsWhite(r.left + kProbeX, r.top + kProbeY)) {
        search.painted = true;
        return FALSE;
    }
    return TRUE;
}

// ---- one start ----------------------------------------------------------------------------

Start TimeStart(const Clock& clock, const Screen& screen, const std::wstring& program,
                const std::wstring& directory, DWORD settleMs) {
    Start result;
    if (!screen.WaitUntilClear()) {
        result.failure = "the screen stayed white where the window appears";
        return result;
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};

    const LONGLONG started = clock.Now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &process)) {
        result.failure = "CreateProcessW failed, error " + std::to_string(::GetLastError());
        return result;
    }
    for (;;) {
        WindowSearch search{process.dwProcessId, &screen};
        ::EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
        if (search.painted) {
            result.ms = clock.Ms(started, clock.Now());
            result.ok = true;
            break;
        }
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process.hProcess, &code);
            result.failure = "exited before painting, code " + std::to_string(code);
            break;
        }
        if (clock.Ms(started, clock.Now()) > kStartTimeoutMs) {
            result.failure = "no painted window within " + std::to_string(kStartTimeoutMs / 1000) + " s";
            break;
        }
        ::Sleep(1);
    }

    if (result.ok) {
        ::Sleep(settleMs);  // let start-up finish what it does after the first paint
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (::GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                   sizeof memory)) {
            // Windows reports the commit charge in both; Wine 8 fills only PagefileUsage.
            result.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
            result.privateFromPagefile = memory.PrivateUsage == 0;
        }
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

void PrintCell(const Start& s) {
    if (s.ok)
        std::printf(" %12.1f", s.ms);
    else
        std::printf(" %12s", "failed");
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    options.orvia = platform::EnvironmentValue(L"ORVIA_BENCH_ORVIA").value_or(L"");
    options.minimal = platform::EnvironmentValue(L"ORVIA_BENCH_MINIMAL").value_or(L"");
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--orvia" && hasValue) {
            options.orvia = argv[++i];
        } else if (arg == L"--minimal" && hasValue) {
            options.minimal = argv[++i];
        } else if (arg == L"--runs" && hasValue) {
            options.runs = std::max(1, _wtoi(argv[++i]));
        } else if (arg == L"--warmup" && hasValue) {
            options.warmup = std::max(0, _wtoi(argv[++i]));
        } else if (arg == L"--settle-ms" && hasValue) {
            options.settleMs = static_cast<DWORD>(std::max(0, _wtoi(argv[++i])));
        } else {
            std::fprintf(stderr, "unknown or incomplete argument: %s\n", Narrow(arg).c_str());
            return false;
        }
    }
    if (options.orvia.empty() || options.minimal.empty()) {
        std::fprintf(stderr,
                     "usage: orvia_bench_startup --orvia PATH --minimal PATH [--runs N] [--warmup N] "
                     "[--settle-ms N]\n");
        return false;
    }
    options.orvia = WindowsPath(options.orvia);
    options.minimal = WindowsPath(options.minimal);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return 2;
    for (const std::wstring* program : {&options.orvia, &options.minimal}) {
        if (::GetFileAttributesW(program->c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "no such program: %s\n", Narrow(*program).c_str());
            return 2;
        }
    }
    // No camera and no reader: the start a desk without its devices sees.
    ::SetEnvironmentVariableW(L"ORVIA_DEMO_DEVICES", nullptr);

    const Clock clock;
    const Screen screen;
    if (!screen.Dc()) {
        std::fprintf(stderr, "cannot read the screen\n");
        return 2;
    }
    const POINT probe = screen.CentredProbe();
    if (screen.IsWhite(probe.x, probe.y)) {
        std::fprintf(stderr, "the screen is already white at (%ld,%ld); a first paint could not be seen\n",
                     probe.x, probe.y);
        return 2;
    }

    // Untimed starts first, so neither program pays alone for what the first Wine process
    // start after the wineserver pays.
    for (int i = 0; i < options.warmup; ++i) {
        std::wstring orviaDir, minimalDir;
        const std::wstring orvia = FreshCopy(options.orvia, L"warmup-orvia", orviaDir);
        const std::wstring minimal = FreshCopy(options.minimal, L"warmup-minimal", minimalDir);
        if (!orvia.empty()) TimeStart(clock, screen, orvia, orviaDir, 0);
        if (!minimal.empty()) TimeStart(clock, screen, minimal, minimalDir, 0);
        RemoveTree(orviaDir);
        RemoveTree(minimalDir);
    }

    std::vector<Start> first, warm, minimal;
    std::vector<FileEntry> components;
    std::printf("Process start to first painted window (ms) under %s, %d runs, interleaved\n",
                platform::RunsUnderWine() ? "Wine" : "Windows",
                options.runs);
    std::printf("%4s %12s %12s %12s %12s\n", "run", "orvia first", "minimal", "orvia warm", "minimal");
    bool allOk = true;
    for (int run = 1; run <= options.runs; ++run) {
        std::wstring orviaDir, minimalDir;
        const std::wstring orvia = FreshCopy(options.orvia, L"orvia", orviaDir);
        const std::wstring minimalCopy = FreshCopy(options.minimal, L"minimal", minimalDir);
        if (orvia.empty() || minimalCopy.empty()) {
            std::fprintf(stderr, "cannot copy the programs into %s\n", Narrow(orviaDir).c_str());
            RemoveTree(orviaDir);
            RemoveTree(minimalDir);
            return 2;
        }
        const Start a = TimeStart(clock, screen, orvia, orviaDir, options.settleMs);
        if (components.empty()) components = Libraries(orviaDir);
        const Start b = TimeStart(clock, screen, minimalCopy, minimalDir, options.settleMs);
        const Start c = TimeStart(clock, screen, orvia, orviaDir, options.settleMs);
        const Start d = TimeStart(clock, screen, minimalCopy, minimalDir, options.settleMs);
        RemoveTree(orviaDir);
        RemoveTree(minimalDir);

        std::printf("%4d", run);
        for (const Start* s : {&a, &b, &c, &d}) PrintCell(*s);
        std::printf("\n");
        for (const Start* s : {&a, &b, &c, &d})
            if (!s->ok) {
                std::printf("     failed: %s\n", s->failure.c_str());
                allOk = false;
            }
        first.push_back(a);
        minimal.push_back(b);
        warm.push_back(c);
        minimal.push_back(d);
        std::fflush(stdout);
    }

    auto times = [](const std::vector<Start>& starts) {
        std::vector<double> v;
        for (const Start& s : starts)
            if (s.ok) v.push_back(s.ms);
        return v;
    };
    auto privateMemory = [](const std::vector<Start>& starts) {
        std::vector<double> v;
        for (const Start& s : starts)
            if (s.ok && s.privateBytes) v.push_back(static_cast<double>(s.privateBytes));
        return v;
    };
    const double firstMs = Median(times(first));
    const double warmMs = Median(times(warm));
    const double minimalMs = Median(times(minimal));
    std::printf("%4s %12.1f %12s %12.1f %12.1f   (minimal: median of both columns)\n", "med", firstMs, "",
                warmMs, minimalMs);
    // The fastest start shows what a quiet machine gives; the medians are the figures.
    auto fastest = [](const std::vector<double>& v) {
        return v.empty() ? NAN : *std::min_element(v.begin(), v.end());
    };
    std::printf("%4s %12.1f %12s %12.1f %12.1f\n", "min", fastest(times(first)), "", fastest(times(warm)),
                fastest(times(minimal)));
    std::printf("\nratio orvia warm  / minimal: %.2f   (goal <= 1.5)\n", warmMs / minimalMs);
    std::printf("ratio orvia first / minimal: %.2f\n", firstMs / minimalMs);
    // Against the minimal starts just before and after it, each run is less exposed to
    // whatever else the machine was doing at the time.
    std::vector<double> local;
    for (std::size_t i = 0; i < warm.size(); ++i) {
        const Start& before = minimal[2 * i];
        const Start& after = minimal[2 * i + 1];
        if (warm[i].ok && before.ok && after.ok) local.push_back(2 * warm[i].ms / (before.ms + after.ms));
    }
    std::printf("median of per-run ratios, orvia warm / the minimal starts either side: %.2f\n", Median(local));

    std::printf("\nprivate memory %lu ms after first paint (PrivateUsage, median):\n",
                static_cast<unsigned long>(options.settleMs));
    std::printf("  orvia warm   %8.1f MiB   (goal < 30 MB)\n", MiB(Median(privateMemory(warm))));
    std::printf("  orvia first  %8.1f MiB\n", MiB(Median(privateMemory(first))));
    std::printf("  minimal      %8.1f MiB\n", MiB(Median(privateMemory(minimal))));
    if (std::any_of(warm.begin(), warm.end(), [](const Start& s) { return s.privateFromPagefile; }))
        std::printf("  (PrivateUsage came back empty, as under Wine 8: these are PagefileUsage, which Wine\n"
                    "   fills with the process's resident anonymous memory, RssAnon + VmSwap)\n");

    std::printf("\nfile sizes:\n");
    const ULONGLONG orviaBytes = FileSize(options.orvia);
    std::printf("  %-32s %10llu bytes  %6.2f MiB\n", Narrow(FileName(options.orvia)).c_str(), orviaBytes,
                MiB(static_cast<double>(orviaBytes)));
    const ULONGLONG minimalBytes = FileSize(options.minimal);
    std::printf("  %-32s %10llu bytes  %6.2f MiB\n", Narrow(FileName(options.minimal)).c_str(), minimalBytes,
                MiB(static_cast<double>(minimalBytes)));
    std::printf("components written by the first start:\n");
    if (components.empty()) std::printf("  (none)\n");
    for (const FileEntry& c : components)
        std::printf("  %-32s %10llu bytes  %6.2f MiB\n", c.name.c_str(), c.bytes,
                    MiB(static_cast<double>(c.bytes)));
    return allOk ? 0 : 1;
}
