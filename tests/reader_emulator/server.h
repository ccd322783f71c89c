// The emulator at work: answers the host's requests on the pty as the card module would,
// with the card and fault its control directory names, until something tells it to end.
#pragma once

#include "com_link.h"
#include "control_dir.h"
#include "module.h"
#include "options.h"
#include "pty_port.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <string>

namespace emulator {

class Server {
public:
    Server(const Options& options, PtyPort& port, ComLink& link, ControlDir& control)
        : options_(options), port_(port), link_(link), control_(control) {}

    // Serves until told to end; why it ended ("stop file", "unplugged", …). `signalled`
    // is set by the signal handlers.
    std::string Run(const volatile std::sig_atomic_t& signalled);

private:
    std::optional<std::string> ReasonToEnd(const volatile std::sig_atomic_t& signalled) const;
    // Reads what arrived and answers every whole request in it; a reason to end when the
    // line died or was unplugged.
    std::optional<std::string> Serve();
    std::optional<std::string> Answer(sam::FrameReader::Status status);

    const Options& options_;
    PtyPort& port_;
    ComLink& link_;
    ControlDir& control_;
    Module module_;
    sam::FrameReader requests_{sam::Direction::Request};
    bool noise_ = false;  // stray bytes go out until the next request
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

}  // namespace emulator
