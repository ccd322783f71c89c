#include "bench/wine/process_cpu.h"

#include "platform/host.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"

#include <cstdio>

namespace bench {

namespace {

// A file read to its end in pieces: the files of /proc give no size.
std::string ReadToEnd(const std::wstring& path) {
    const platform::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file) return text;
    char piece[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), piece, sizeof piece, &got, nullptr) && got > 0) text.append(piece, got);
    return text;
}

std::wstring LinuxProcessOf(const std::wstring& programDir) {
    const std::wstring name = programDir.substr(programDir.find_last_of(L'\\') + 1);
    for (const std::wstring& entry : e2e::DirectoryEntries(L"Z:\\proc")) {
        if (entry.empty() || entry.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::string text = ReadToEnd(L"Z:\\proc\\" + entry + L"\\cmdline");
        if (text.find(platform::Narrow(name)) != std::string::npos && text.find("orvia.exe") != std::string::npos)
            return L"Z:\\proc\\" + entry + L"\\stat";
    }
    return {};
}

}  // namespace

ProcessCpu::ProcessCpu(HANDLE process, const std::wstring& programDir)
    : process_(process), linuxStat_(platform::RunsUnderWine() ? LinuxProcessOf(programDir) : std::wstring()) {}

bool ProcessCpu::Readable() const { return !platform::RunsUnderWine() || !linuxStat_.empty(); }

double ProcessCpu::Seconds() const {
    if (platform::RunsUnderWine()) {
        // Fields after the name in parentheses: state is the 3rd, utime the 14th, stime the
        // 15th, in clock ticks of 1/100 s.
        const std::string text = ReadToEnd(linuxStat_);
        const std::size_t at = text.rfind(')');
        unsigned long long user = 0, system = 0;
        if (at == std::string::npos ||
            std::sscanf(text.c_str() + at + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &system) != 2)
            return -1;
        return static_cast<double>(user + system) / 100.0;
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process_, &created, &exited, &kernel, &user)) return -1;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace bench
