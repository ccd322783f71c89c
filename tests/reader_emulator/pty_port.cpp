#include "pty_port.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

namespace emulator {

namespace {

using Clock = std::chrono::steady_clock;

std::string Why(const char* step) { return std::string(step) + ": " + std::strerror(errno); }

bool MakeRaw(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) return false;
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

// The holder's whole life, in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void HoldSlave(const char* slavePath, int toClose1, int toClose2, int link, int ready, pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(1);  // the parent died before the line above
    ::close(toClose1);                       // the master: only the emulator may hold it
    ::close(toClose2);
    if (::setsid() < 0) ::_exit(1);
    // Opened without O_NOCTTY by a session leader with no terminal: it becomes ours.
    const int slave = ::open(slavePath, O_RDWR);
    if (slave < 0 || ::ioctl(slave, TIOCSCTTY, 0) != 0) ::_exit(1);
    const char done = 1;
    if (::write(ready, &done, 1) != 1) ::_exit(1);
    ::close(ready);
    // Until the emulator closes its end of the link, or dies. The line's hang-up (SIGHUP
    // when the master closes) ends us too.
    char byte;
    while (::read(link, &byte, 1) < 0 && errno == EINTR) {
    }
    ::_exit(0);
}

}  // namespace

std::unique_ptr<PtyPort> PtyPort::Open(std::string* error) {
    auto fail = [&](const char* step) {
        if (error) *error = Why(step);
        return nullptr;
    };
    UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master) return fail("posix_openpt");
    if (::grantpt(master.get()) != 0) return fail("grantpt");
    if (::unlockpt(master.get()) != 0) return fail("unlockpt");
    char name[128];
    if (::ptsname_r(master.get(), name, sizeof name) != 0) return fail("ptsname_r");
    UniqueFd slave(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!slave) return fail("open slave");
    // Raw before anyone can open it: no echo of our replies back to us, no line editing,
    // no translation of CR, LF or the flow-control bytes.
    if (!MakeRaw(slave.get())) return fail("raw mode");
    const int flags = ::fcntl(master.get(), F_GETFL);
    if (flags < 0 || ::fcntl(master.get(), F_SETFL, flags | O_NONBLOCK) != 0) return fail("non-blocking master");

    int link[2];
    int ready[2];
    if (::pipe2(link, O_CLOEXEC) != 0) return fail("pipe");
    UniqueFd linkRead(link[0]), linkWrite(link[1]);
    if (::pipe2(ready, O_CLOEXEC) != 0) return fail("pipe");
    UniqueFd readyRead(ready[0]), readyWrite(ready[1]);

    const pid_t parent = ::getpid();
    const pid_t holder = ::fork();
    if (holder < 0) return fail("fork");
    if (holder == 0) {
        ::close(linkWrite.get());
        ::close(readyRead.get());
        HoldSlave(name, master.get(), slave.get(), linkRead.get(), readyWrite.get(), parent);
    }
    linkRead.reset();
    readyWrite.reset();
    char done = 0;
    ssize_t got;
    while ((got = ::read(readyRead.get(), &done, 1)) < 0 && errno == EINTR) {
    }
    if (got != 1) {
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
        if (error) *error = "the pty's holder could not take it as its terminal";
        return nullptr;
    }
    return std::unique_ptr<PtyPort>(
        new PtyPort(std::move(master), std::move(slave), name, holder, std::move(linkWrite)));
}

void PtyPort::Close() {
    slave_.reset();
    master_.reset();  // the host's handle now fails: the reader is gone
    holderLink_.reset();
    if (holder_ > 0) {
        ::kill(holder_, SIGKILL);
        ::waitpid(holder_, nullptr, 0);
        holder_ = -1;
    }
}

std::optional<std::size_t> PtyPort::Read(std::span<std::uint8_t> into) {
    if (!master_) return std::nullopt;
    for (;;) {
        const ssize_t n = ::read(master_.get(), into.data(), into.size());
        if (n > 0) return static_cast<std::size_t>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return 0;
        return std::nullopt;
    }
}

bool PtyPort::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!bytes.empty() && master_) {
        const ssize_t n = ::write(master_.get(), bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        // The host's side is full: wait for it to read.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd room{master_.get(), POLLOUT, 0};
        ::poll(&room, 1, static_cast<int>(left.count()));
    }
    return bytes.empty();
}

void PtyPort::WriteWhatFits(std::span<const std::uint8_t> bytes) {
    if (!master_) return;
    const ssize_t sent = ::write(master_.get(), bytes.data(), bytes.size());
    static_cast<void>(sent);  // a full line drops the rest
}

bool PtyPort::WaitUntilTaken(std::chrono::milliseconds limit) const {
    // Bytes written reach the host's queue a moment later, and on a busy machine many moments
    // later: the queue counts as taken once it has stayed empty for a while, not at the first
    // look that finds it empty.
    constexpr auto kSettled = std::chrono::milliseconds(50);
    const auto deadline = Clock::now() + limit;
    std::optional<Clock::time_point> emptySince;
    while (slave_) {
        int waiting = 0;
        if (::ioctl(slave_.get(), FIONREAD, &waiting) != 0) return true;
        const auto now = Clock::now();
        if (waiting > 0) {
            emptySince.reset();
        } else if (!emptySince) {
            emptySince = now;
        } else if (now - *emptySince >= kSettled) {
            return true;
        }
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace emulator
