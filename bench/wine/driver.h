// What the drivers that time orvia.exe under Wine (or on Windows) share: their options and
// starting the program in a program directory of its own.
#pragma once

#include "tests/e2e/demo_camera.h"

#include <string>

namespace bench {

struct OrviaRun {
    std::wstring orvia;  // the orvia.exe to time
    int runs = 10;
};

// "--orvia PATH" (a Linux path /x is read as Z:\x; ORVIA_BENCH_ORVIA stands in for it) and
// "--runs N". Prints the usage and returns false when it cannot go on.
bool ParseOrviaRun(int argc, wchar_t** argv, const char* driver, OrviaRun& run);

// Copies orvia.exe into `dir` and starts it with the demonstration camera listed (`fault` as
// the component knows it), running when `startCamera`. Prints why not and returns false.
bool StartOrvia(const OrviaRun& run, const e2e::TempProgramDir& dir, e2e::OrviaProcess& program,
                const wchar_t* fault, bool startCamera);

}  // namespace bench
