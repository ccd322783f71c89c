// Where Orvia's start-up time goes: each step of the start-up sequence timed alone, in a
// process of its own, so the plain totals of orvia_bench_startup can be split up.
//
//   orvia_bench_startup_steps.exe --components DIR [--runs N] [--minimal EXE --imports DLL,DLL,...]
//
// DIR holds the built component DLLs. Each run copies them into a fresh directory and times:
// starting a process (the minimal window's program with --exit, which ends at once), the
// same loading the DLLs orvia.exe imports and the minimal window does not (--imports), and
// then starting COM in it, deploying the four components there (first start: written; warm:
// already there), GDI+ start-up and shut-down, loading the camera
// component and listing its cameras, loading
// the reader component and scanning ports 1 to 1200, building the Main window from its
// Template (shown, without its start-up sequence), and painting it once more (the cost of
// its first paint). Whatever serial ports the Wine prefix has take part in the scan, so
// the script runs this with and without a port that never answers.
#include "app/main_template.h"
#include "bench/timing.h"
#include "platform/deployment.h"
#include "platform/files.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"
#include "ui/window.h"

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::NowMs;

constexpr const wchar_t* kComponents[] = {L"termb.dll", L"UnPack.dll", L"sdtapi.dll", L"VedioCapture.dll"};
constexpr int kFirstPort = 1;
constexpr int kLastPort = 1200;

struct Component {
    std::wstring name;
    std::vector<std::uint8_t> bytes;
};

std::wstring FreshDirectory(int run) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring directory = std::wstring(temp, n) + L"orvia-steps-" + std::to_wstring(::GetCurrentProcessId()) +
                             L"-" + std::to_wstring(run);
    e2e::RemoveTree(directory);
    ::CreateDirectoryW(directory.c_str(), nullptr);
    return directory;
}

template <typename Work>
double Time(Work&& work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

double Deploy(const std::wstring& directory, const std::vector<Component>& components) {
    return Time([&] {
        for (const Component& c : components) platform::DeployComponentTo(directory, c.name, c.bytes);
    });
}

double GdiplusStartAndStop() {
    return Time([] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) Gdiplus::GdiplusShutdown(token);
    });
}

// A process of `program` with `arguments`, from its creation to its end.
double RunProcess(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    const double start = NowMs();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return -1;
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    const double took = NowMs() - start;
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    return code == 0 ? took : -1;
}

double ListCameras(const std::wstring& directory) {
    return Time([&] {
        platform::UniqueModule camera(::LoadLibraryExW(platform::JoinPath(directory, L"VedioCapture.dll").c_str(),
                                                       nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        using ListFn = const char*(__stdcall*)();
        if (auto list = reinterpret_cast<ListFn>(reinterpret_cast<void (*)()>(
                camera ? ::GetProcAddress(camera.get(), "GetCameraList") : nullptr)))
            list();
    });
}

double ScanForReader(const std::wstring& directory) {
    return Time([&] {
        platform::UniqueModule termb(::LoadLibraryExW(platform::JoinPath(directory, L"termb.dll").c_str(), nullptr,
                                                      LOAD_WITH_ALTERED_SEARCH_PATH));
        using InitFn = int(__stdcall*)(int);
        using CloseFn = int(__stdcall*)();
        auto init = reinterpret_cast<InitFn>(
            reinterpret_cast<void (*)()>(termb ? ::GetProcAddress(termb.get(), "CVR_InitComm") : nullptr));
        auto close = reinterpret_cast<CloseFn>(
            reinterpret_cast<void (*)()>(termb ? ::GetProcAddress(termb.get(), "CVR_CloseComm") : nullptr));
        if (!init) return;
        for (int port = kFirstPort; port <= kLastPort; ++port)
            if (init(port) == 1) break;
        if (close) close();
    });
}

// The Main window as its Template makes it, shown and painted, without the start-up
// sequence (no hotkeys, components, camera list or reader).
void BuildAndPaintWindow(double& build, double& paint) {
    ui::WindowBehaviour behaviour;
    std::unique_ptr<ui::Window> window;
    build = Time([&] { window = ui::Window::Create(app::MainWindowTemplate(), std::move(behaviour)); });
    if (!window) return;
    paint = Time([&] {
        ::RedrawWindow(window->Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    // Creating the window painted it once already: that share belongs to the paint.
    build -= paint;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring componentDir, minimal, imports;
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        if (name == L"--components") componentDir = e2e::WindowsPath(argv[i + 1]);
        if (name == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (name == L"--minimal") minimal = e2e::WindowsPath(argv[i + 1]);
        if (name == L"--imports") imports = argv[i + 1];
    }
    for (wchar_t& c : imports) c = c == L',' ? L' ' : c;
    std::vector<Component> components;
    for (const wchar_t* name : kComponents) {
        auto bytes = platform::ReadWholeFile(platform::JoinPath(componentDir, name));
        if (!bytes) {
            std::fprintf(stderr, "no %s in --components\n", platform::Narrow(name).c_str());
            return 2;
        }
        components.push_back({name, std::move(*bytes)});
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    std::map<std::string, std::vector<double>> times;
    ULONG_PTR gdiplus = 0;  // the window's pictures need GDI+, started after its own timing
    for (int run = 0; run < runs; ++run) {
        const std::wstring directory = FreshDirectory(run);
        if (!minimal.empty()) {
            const double bare = RunProcess(minimal, L"--exit");
            const double loading = RunProcess(minimal, L"--exit " + imports);
            const double com = RunProcess(minimal, L"--exit " + imports + L" +com");
            times["process start"].push_back(bare);
            times["orvia's imports loaded"].push_back(loading - bare);
            times["COM start-up"].push_back(com - loading);
        }
        times["deployment, first start"].push_back(Deploy(directory, components));
        times["deployment, warm"].push_back(Deploy(directory, components));
        times["GDI+ start-up"].push_back(GdiplusStartAndStop());

        times["camera enumeration"].push_back(ListCameras(directory));
        times["reader scan, ports 1-1200"].push_back(ScanForReader(directory));
        if (!gdiplus) {
            Gdiplus::GdiplusStartupInput input;
            Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
        }
        double build = 0, paint = 0;
        BuildAndPaintWindow(build, paint);
        times["building the window"].push_back(build);
        times["first paint"].push_back(paint);
        e2e::RemoveTree(directory);
    }
    std::printf("%-28s %10s %10s  (ms, %d runs; the first run is a cold start)\n", "step", "median", "first", runs);
    for (const auto& [step, values] : times)
        std::printf("%-28s %10.1f %10.1f\n", step.c_str(), Median(values), values.front());
    return 0;
}
