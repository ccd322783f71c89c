// The emulated reader's end of its serial line: a pseudo-terminal in raw mode. Wine opens
// the other end (the slave, /dev/pts/N) as a COM port.
//
// A child process of ours holds the slave open as the session leader whose controlling
// terminal it is. So the pty never becomes the controlling terminal of wineserver or of a
// Wine process that opens it (which would flood their error output when it hangs up), and
// the host closing and reopening the port never hangs up our end.
#pragma once

#include "unique_fd.h"

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace emulator {

class PtyPort {
public:
    // A new pty with its holder running; null with the reason in `error`.
    static std::unique_ptr<PtyPort> Open(std::string* error);

    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;
    ~PtyPort() { Close(); }

    int Fd() const { return master_.get(); }          // poll it for requests
    const std::string& SlavePath() const { return slavePath_; }

    // What arrived, up to into.size() bytes; 0 when nothing is waiting; nullopt when the
    // line is gone.
    std::optional<std::size_t> Read(std::span<std::uint8_t> into);
    // Sends all bytes, waiting at most `limit` for the host to make room; false when they
    // did not all go.
    bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit);
    // Sends what fits now and drops the rest (noise need not arrive whole).
    void WriteWhatFits(std::span<const std::uint8_t> bytes);
    // Waits until the host has taken every byte sent, at most `limit`; true when it has.
    bool WaitUntilTaken(std::chrono::milliseconds limit) const;
    // Ends the line at once, as a reader pulled from its socket; the holder ends too.
    void Close();

private:
    PtyPort(UniqueFd master, UniqueFd slave, std::string slavePath, pid_t holder, UniqueFd holderLink)
        : master_(std::move(master)), slave_(std::move(slave)), slavePath_(std::move(slavePath)),
          holder_(holder), holderLink_(std::move(holderLink)) {}

    UniqueFd master_;
    UniqueFd slave_;  // ours, without becoming our terminal: lets us see what the host has not read
    std::string slavePath_;
    pid_t holder_ = -1;
    UniqueFd holderLink_;  // the holder ends when this closes (or when we die)
};

}  // namespace emulator
