// What the benchmark drivers share: a clock in milliseconds, timing a piece of work, waiting
// for a condition, medians, and "--name N" options. Portable, for the native drivers and
// the Windows ones alike.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace bench {

inline double NowMs() {
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The processor time this process has used, user and system: on a shared machine a wall
// clock counts the time other programs had the processor too.
inline double ProcessCpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return NAN;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns units
#else
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
#endif
}

// The median: of an odd count the middle value, of an even count the mean of the two
// middle ones; NaN for none.
inline double Median(std::vector<double> values) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs work(0) ... work(count - 1) and returns the milliseconds each took on average.
template <typename Work>
double MillisecondsEach(int count, Work&& work) {
    const double start = NowMs();
    for (int i = 0; i < count; ++i) work(i);
    return (NowMs() - start) / count;
}

// Runs work(0) ... work(count - 1) and returns the processor milliseconds each took on
// average (single-threaded work).
template <typename Work>
double CpuMillisecondsEach(int count, Work&& work) {
    const double start = ProcessCpuMs();
    for (int i = 0; i < count; ++i) work(i);
    return (ProcessCpuMs() - start) / count;
}

// Milliseconds from `from` until done() holds, asked every millisecond; negative once
// `limitMs` have passed.
template <typename Done>
double MsUntil(double from, Done&& done, double limitMs = 5000) {
    while (NowMs() - from < limitMs) {
        if (done()) return NowMs() - from;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

// A few bytes of a result folded together and printed, so that no work is optimised away.
inline unsigned Checksum(const std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4099) sum = sum * 31 + bytes[i];
    return sum;
}

// Reads "--name N" pairs (N > 0) into the counters named; false on anything else.
template <typename Char>
bool ParseCounts(int argc, Char** argv, std::initializer_list<std::pair<std::basic_string_view<Char>, int*>> counts) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const std::basic_string_view<Char> name = argv[i];
        int* counter = nullptr;
        for (const auto& [known, target] : counts)
            if (name == known) counter = target;
        long value = 0;
        for (const Char* c = argv[i + 1]; *c; ++c) {
            if (*c < '0' || *c > '9' || value > 1'000'000) return false;
            value = value * 10 + (*c - '0');
        }
        if (!counter || value <= 0) return false;
        *counter = static_cast<int>(value);
    }
    return true;
}

}  // namespace bench
