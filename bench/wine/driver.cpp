#include "bench/wine/driver.h"

#include "bench/timing.h"

#include <cstdio>
#include <cwchar>

namespace bench {

bool ParseOrviaRun(int argc, wchar_t** argv, const char* driver, OrviaRun& run) {
    run.orvia = e2e::PathFromEnvironment(L"ORVIA_BENCH_ORVIA");
    // --orvia first, out of the counts' way.
    std::vector<wchar_t*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--orvia") == 0 && i + 1 < argc) {
            run.orvia = e2e::WindowsPath(argv[++i]);
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (run.orvia.empty() ||
        !ParseCounts<wchar_t>(static_cast<int>(rest.size()), rest.data(), {{L"--runs", &run.runs}})) {
        std::fprintf(stderr, "usage: %s --orvia PATH [--runs N]\n", driver);
        return false;
    }
    return true;
}

bool StartOrvia(const OrviaRun& run, const e2e::TempProgramDir& dir, e2e::OrviaProcess& program,
                const wchar_t* fault, bool startCamera) {
    if (!::CopyFileW(run.orvia.c_str(), (dir / L"orvia.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "orvia.exe could not be copied into a program directory\n");
        return false;
    }
    if (!program.Start(dir.Path(), e2e::DemoCameraEnvironment(fault))) {
        std::fprintf(stderr, "orvia did not start: %s\n", program.Error().c_str());
        return false;
    }
    if (startCamera && !e2e::StartDemoCamera(program.MainWindow())) {
        std::fprintf(stderr, "the demonstration camera showed no picture\n");
        return false;
    }
    return true;
}

}  // namespace bench
