#include "server.h"

#include <poll.h>
#include <signal.h>

#include <array>
#include <cerrno>
#include <cstdio>

namespace emulator {

namespace {

using namespace std::chrono_literals;

constexpr int kPollMs = 50;       // how often the control directory is looked at when idle
constexpr int kNoiseEveryMs = 20;  // how often a burst of noise goes out
constexpr auto kWriteLimit = 2s;   // a host that takes no bytes for this long is not reading
constexpr auto kTakeLimit = 2s;    // how long an unplug waits for the host to take the bytes

std::string Hex(std::uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

bool ProcessGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

std::string Server::Run(const volatile std::sig_atomic_t& signalled) {
    for (;;) {
        if (auto reason = ReasonToEnd(signalled)) return *reason;
        pollfd line{port_.Fd(), POLLIN, 0};
        const int ready = ::poll(&line, 1, noise_ ? kNoiseEveryMs : kPollMs);
        if (ready > 0) {
            if (auto reason = Serve()) return *reason;
        } else if (noise_) {
            port_.WriteWhatFits(module_.StrayBytes());
        }
    }
}

std::optional<std::string> Server::ReasonToEnd(const volatile std::sig_atomic_t& signalled) const {
    if (signalled) return "signal";
    if (control_.StopRequested()) return "stop file";
    if (control_.Gone()) return "control directory removed";
    const auto running = std::chrono::steady_clock::now() - started_;
    if (options_.lifetimeSeconds > 0 && running >= std::chrono::seconds(options_.lifetimeSeconds)) return "lifetime";
    if (options_.parentPid > 0 && ProcessGone(options_.parentPid)) return "parent gone";
    if (options_.heartbeatSeconds > 0) {
        const std::chrono::seconds limit(options_.heartbeatSeconds);
        const auto age = control_.HeartbeatAge();
        // A heartbeat that never came counts from the start.
        if (age ? *age > limit : running > limit) return "no heartbeat";
    }
    return std::nullopt;
}

std::optional<std::string> Server::Serve() {
    std::array<std::uint8_t, 4096> buffer;
    const std::optional<std::size_t> got = port_.Read(buffer);
    if (!got) return "line lost";
    if (*got == 0) return std::nullopt;
    noise_ = false;
    requests_.Feed(std::span(buffer).first(*got));
    for (;;) {
        const sam::FrameReader::Status status = requests_.Next();
        if (status == sam::FrameReader::Status::NeedMore) return std::nullopt;
        if (auto reason = Answer(status)) return reason;
    }
}

std::optional<std::string> Server::Answer(sam::FrameReader::Status status) {
    const Fault fault = control_.CurrentFault();
    Response response;
    std::string line;
    if (status == sam::FrameReader::Status::Frame) {
        const sam::Command request = requests_.Take().AsCommand();
        const std::optional<SampleCard> card = control_.Card();
        response = module_.Answer(request, card ? &*card : nullptr, fault);
        line = std::string(RequestName(request)) + " " + Hex(request.cmd) + Hex(request.para);
        if (fault.Spoils(request)) line += " " + std::string(ModeName(fault.mode));
    } else {
        response = module_.AnswerDamaged(status, fault);
        line = status == sam::FrameReader::Status::BadLength ? "request with a bad length" : "request with a bad checksum";
        if (fault.Spoils(std::nullopt)) line += " " + std::string(ModeName(fault.mode));
    }
    control_.Log(line + " -> " + Hex(response.sw3) + ", " + std::to_string(response.bytes.size()) + " bytes sent");
    if (!response.bytes.empty() && !port_.Write(response.bytes, kWriteLimit))
        control_.Log("! the host took no bytes for " + std::to_string(kWriteLimit.count()) + " s");
    noise_ = response.noise;
    if (response.unplug) {
        port_.WaitUntilTaken(kTakeLimit);
        port_.Close();
        link_.Remove();
        return "unplugged";
    }
    return std::nullopt;
}

}  // namespace emulator
