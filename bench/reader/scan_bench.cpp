// Times the reader scan that start-up and every card field lookup run: CVR_InitComm on ports
// 1 to 1200, in order, with no reader anywhere, through termb.dll and sdtapi.dll loaded as
// the program loads them. Two baselines from the same run: the same loop over a function
// that does nothing, and a plain CreateFileW on \\.\COM1 to \\.\COM255, the open that tells
// whether a port is there at all.
//
//   orvia_bench_reader_scan.exe [--runs N]      (components from ORVIA_COMPONENT_DIR)
#include "bench/reader/reader_library.h"
#include "bench/timing.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::NowMs;

constexpr int kLastPort = 1200;
constexpr int kLastSerialPort = 255;

int __stdcall DoNothing(int port) { return port == -1 ? 1 : 0; }

HANDLE OpenPort(int number) {
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(number);
    return ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 9;
    if (!bench::ParseCounts<wchar_t>(argc, argv, {{L"--runs", &runs}})) {
        std::fprintf(stderr, "usage: orvia_bench_reader_scan [--runs N]\n");
        return 2;
    }
    bench::ReaderLibrary reader;
    if (!reader.Load()) return 1;

    // Wine may open a port name it knows but has no device for; only a serial port takes a
    // line setting, and only there is the module asked for its status.
    std::string opened, serial;
    for (int port = 1; port <= kLastSerialPort; ++port) {
        const HANDLE handle = OpenPort(port);
        if (handle == INVALID_HANDLE_VALUE) continue;
        DCB line{};
        line.DCBlength = sizeof line;
        (::GetCommState(handle, &line) ? serial : opened) += " COM" + std::to_string(port);
        ::CloseHandle(handle);
    }
    std::printf("serial ports:%s; other port names that open:%s\n", serial.empty() ? " none" : serial.c_str(),
                opened.empty() ? " none" : opened.c_str());

    int(__stdcall* volatile nothing)(int) = &DoNothing;
    std::vector<double> scans, loops, opens;
    reader.Scan();  // the first call loads sdtapi.dll; not timed
    for (int run = 1; run <= runs; ++run) {
        double start = NowMs();
        const int found = reader.Scan();
        const double scan = NowMs() - start;
        if (found != 0) {
            std::fprintf(stderr, "a reader answered on COM%d: this benchmark wants none\n", found);
            return 1;
        }
        start = NowMs();
        int sum = 0;
        for (int port = 1; port <= kLastPort; ++port) sum += nothing(port);
        const double loop = NowMs() - start;
        start = NowMs();
        for (int port = 1; port <= kLastSerialPort; ++port) {
            const HANDLE handle = OpenPort(port);
            if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
        }
        const double open = NowMs() - start;
        std::printf("run %d: scan 1..%d %.2f ms, empty loop %.4f ms (%d), CreateFileW COM1..%d %.2f ms\n", run,
                    kLastPort, scan, loop, sum, kLastSerialPort, open);
        scans.push_back(scan);
        loops.push_back(loop);
        opens.push_back(open);
    }
    const double scan = Median(scans);
    const double open = Median(opens);
    std::printf("median of %d runs: scan %.2f ms (goal < 50 ms); empty loop %.4f ms; plain opens %.2f ms; "
                "scan / plain opens %.2f\n",
                runs, scan, Median(loops), open, scan / open);
    return 0;
}
