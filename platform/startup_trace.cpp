#include "platform/startup_trace.h"

#include "platform/host.h"
#include "platform/owners.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace platform {

namespace {

// Milliseconds since the process was created. The creation time and the wall clock have the
// system timer's steps (up to 15.6 ms on Windows), so the first mark anchors the count and
// the performance counter measures from there.
double SinceProcessCreation() {
    static const auto anchor = [] {
        FILETIME created{}, exited{}, kernel{}, user{}, now{};
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
        ::GetSystemTimeAsFileTime(&now);
        const auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
        LARGE_INTEGER counter{};
        ::QueryPerformanceCounter(&counter);
        return std::pair{static_cast<double>(ticks(now) - ticks(created)) / 10'000.0, counter.QuadPart};
    }();
    LARGE_INTEGER counter{}, frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return anchor.first + 1000.0 * static_cast<double>(counter.QuadPart - anchor.second) /
                              static_cast<double>(frequency.QuadPart);
}

}  // namespace

void MarkStartup(std::string_view step) {
    static const std::optional<std::wstring> file = EnvironmentValue(L"ORVIA_STARTUP_TRACE");
    if (!file || file->empty()) return;
    const double ms = SinceProcessCreation();
    char line[128];
    const int length = std::snprintf(line, sizeof line, "%.*s %.2f\n", static_cast<int>(step.size()), step.data(), ms);
    if (length <= 0 || length >= static_cast<int>(sizeof line)) return;
    UniqueFile out(::CreateFileW(file->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (out) ::WriteFile(out.get(), line, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace platform
