// The processor time orvia.exe has used, all its threads together, read the way that is true
// where the driver runs.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

class ProcessCpu {
public:
    // `programDir` is where that orvia.exe was started from (its command line names it).
    ProcessCpu(HANDLE process, const std::wstring& programDir);

    // Seconds of user and kernel time so far; negative when they cannot be read.
    double Seconds() const;
    // Whether Seconds can be trusted (under Wine: the process was found in /proc).
    bool Readable() const;

private:
    HANDLE process_;
    // Under Wine, GetProcessTimes of another process answers with the caller's own times
    // (the figure followed the driver's polling, not orvia's threads), so the kernel's account
    // of the Linux process that runs orvia.exe is read from /proc through Wine's Z: drive.
    std::wstring linuxStat_;
};

}  // namespace bench
