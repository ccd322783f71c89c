// The emulator as a process, driven as Wine would drive it: through the COM link in a
// (stand-in) Wine prefix, with the control directory changing its card and fault.
#include "sam_frame.h"
#include "unique_fd.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace emulator {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Field 6 (session) and 7 (terminal) of /proc/<pid>/stat.
struct ProcessStat {
    long session = -1;
    long terminal = -1;
};
ProcessStat StatOf(pid_t pid) {
    const std::string stat = Slurp("/proc/" + std::to_string(pid) + "/stat");
    ProcessStat result;
    const auto end = stat.rfind(')');  // after the command name, which may hold anything
    if (end == std::string::npos) return result;  // gone meanwhile
    std::istringstream fields(stat.substr(end + 1));
    std::string state;
    long parent = 0, group = 0;
    fields >> state >> parent >> group >> result.session >> result.terminal;
    return result;
}

// One emulator in a prefix and control directory of its own, ended and cleaned up at the end.
class Emulator {
public:
    Emulator() {
        char pattern[] = "/tmp/orvia-emulator-test-XXXXXX";
        root_ = ::mkdtemp(pattern);
        fs::create_directories(root_ / "prefix" / "dosdevices");
    }
    ~Emulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path Control() const { return root_ / "control"; }
    fs::path Link(int com = 7) const { return root_ / "prefix" / "dosdevices" / ("com" + std::to_string(com)); }
    pid_t Pid() const { return pid_; }

    // Starts it on COM7 with `extra` arguments; false when it did not get ready.
    bool Start(std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{ORVIA_READER_EMULATOR, "--com", "7", "--control", Control().string(),
                                           "--prefix", (root_ / "prefix").string(), "--cards", ORVIA_READER_CARDS_DIR,
                                           "--lifetime", "60"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
        return WaitUntil([&] { return fs::exists(Control() / "ready") || HasEnded(); }) && !HasEnded();
    }

    bool HasEnded() {
        if (pid_ <= 0) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return true;
    }
    // Waits for it to end; its exit code, or nullopt when it did not end.
    std::optional<int> Ended() {
        if (!WaitUntil([&] { return HasEnded(); })) return std::nullopt;
        return exitCode_;
    }
    std::string ExitReason() const { return Slurp(Control() / "exited"); }

private:
    fs::path root_;
    pid_t pid_ = -1;
    int exitCode_ = -1;
};

// The host's end: the COM link opened as Wine opens a serial port.
class Host {
public:
    explicit Host(const fs::path& link) : fd_(::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios raw{};
        if (fd_ && ::tcgetattr(fd_.get(), &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(fd_.get(), TCSANOW, &raw);
        }
    }
    bool Open() const { return static_cast<bool>(fd_); }

    bool Send(const std::vector<std::uint8_t>& bytes) {
        return ::write(fd_.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    bool Ask(sam::Command request) { return Send(sam::BuildRequest(request)); }

    // Everything that arrives within `limit`; stops early once a reply frame is whole
    // (with `untilFrame`) or the line goes dead (then `ended` is set).
    std::vector<std::uint8_t> Listen(std::chrono::milliseconds limit, bool untilFrame = true) {
        std::vector<std::uint8_t> got;
        const auto deadline = Clock::now() + limit;
        sam::FrameReader reader(sam::Direction::Reply);
        while (Clock::now() < deadline) {
            pollfd p{fd_.get(), POLLIN, 0};
            ::poll(&p, 1, 10);
            std::uint8_t buffer[4096];
            const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EAGAIN)) {
                ended = true;
                break;
            }
            if (n < 0) continue;
            got.insert(got.end(), buffer, buffer + n);
            reader.Feed(std::span(buffer, static_cast<std::size_t>(n)));
            if (untilFrame && reader.Next() == sam::FrameReader::Status::Frame) break;
        }
        return got;
    }

    // The reply to `request`; nullopt when no sound frame came within a second.
    std::optional<sam::Frame> Exchange(sam::Command request) {
        if (!Ask(request)) return std::nullopt;
        return Frame(Listen(1s));
    }

    static std::optional<sam::Frame> Frame(const std::vector<std::uint8_t>& bytes) {
        sam::FrameReader reader(sam::Direction::Reply);
        reader.Feed(bytes);
        for (sam::FrameReader::Status s; (s = reader.Next()) != sam::FrameReader::Status::NeedMore;)
            if (s == sam::FrameReader::Status::Frame) return reader.Take();
        return std::nullopt;
    }

    bool ended = false;

private:
    UniqueFd fd_;
};

// The name field of a read reply's text block, without its padding.
std::u16string NameOnCard(const sam::Frame& reply) {
    std::u16string name;
    for (std::size_t i = 4; i + 1 < reply.data.size() && i < 4 + 30; i += 2)
        name += static_cast<char16_t>(reply.data[i] | (reply.data[i + 1] << 8));
    return name.substr(0, name.find_last_not_of(u' ') + 1);
}

TEST(EmulatorProcess, ServesTheCardAndFaultItsControlDirectoryNames) {
    Emulator emulator;
    ASSERT_TRUE(emulator.Start({"--card", "zhangsan"}));
    EXPECT_EQ(fs::read_symlink(emulator.Link()).string().rfind("/dev/pts/", 0), 0u);
    Host host(emulator.Link());
    ASSERT_TRUE(host.Open());

    auto sw3 = [&](sam::Command request) {
        const auto reply = host.Exchange(request);
        return reply ? reply->Sw3() : -1;
    };
    EXPECT_EQ(sw3(sam::kModuleStatus), sam::kSuccess);
    EXPECT_EQ(sw3(sam::kFindCard), sam::kCardFound);
    const auto first = host.Exchange(sam::kReadTextAndPhoto);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(NameOnCard(*first) == u"张三");

    // Another card, laid on while it runs, is read next.
    Put(emulator.Control() / "card", "lisi\n");
    const auto second = host.Exchange(sam::kReadTextAndPhoto);
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(NameOnCard(*second) == u"李四");
    Put(emulator.Control() / "card", "none");
    EXPECT_EQ(sw3(sam::kFindCard), sam::kNoCard);

    // A fault for one request leaves the others alone, and goes when the file says so.
    Put(emulator.Control() / "card", "zhangsan");
    Put(emulator.Control() / "fault", "silent@find");
    EXPECT_EQ(sw3(sam::kFindCard), -1);
    EXPECT_EQ(sw3(sam::kModuleStatus), sam::kSuccess);
    Put(emulator.Control() / "fault", "none");
    EXPECT_EQ(sw3(sam::kFindCard), sam::kCardFound);

    // A damaged request is answered as one.
    std::vector<std::uint8_t> damaged = sam::BuildRequest(sam::kModuleStatus);
    damaged.back() ^= 0xFF;
    ASSERT_TRUE(host.Send(damaged));
    const auto complaint = Host::Frame(host.Listen(1s));
    ASSERT_TRUE(complaint.has_value());
    EXPECT_EQ(complaint->Sw3(), sam::kRequestChecksumError);

    const std::string log = Slurp(emulator.Control() / "log");
    EXPECT_NE(log.find("status 11FF -> 90"), std::string::npos) << log;
    EXPECT_NE(log.find("find 2001 silent"), std::string::npos) << log;
}

TEST(EmulatorProcess, NoiseGoesOnUntilTheNextRequest) {
    Emulator emulator;
    ASSERT_TRUE(emulator.Start({"--card", "zhangsan", "--fault", "noise@status"}));
    Host host(emulator.Link());
    ASSERT_TRUE(host.Ask(sam::kModuleStatus));
    const auto noise = host.Listen(300ms, false);
    EXPECT_GT(noise.size(), 100u) << "a burst or two is no stream";
    EXPECT_FALSE(Host::Frame(noise).has_value());
    // The next request is answered, noise or not.
    const auto found = host.Exchange(sam::kFindCard);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Sw3(), sam::kCardFound);
}

TEST(EmulatorProcess, ALeaderOfItsOwnSessionHoldsThePty) {
    Emulator emulator;
    ASSERT_TRUE(emulator.Start({"--card", "zhangsan"}));
    const std::string pty = fs::read_symlink(emulator.Link()).string();
    struct stat device{};
    ASSERT_EQ(::stat(pty.c_str(), &device), 0);

    // Some process other than the emulator has the pty as its controlling terminal and
    // leads that terminal's session.
    std::optional<pid_t> holder;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        const ProcessStat stat = StatOf(pid);
        if (stat.terminal == static_cast<long>(device.st_rdev) && stat.session == pid) holder = pid;
    }
    ASSERT_TRUE(holder.has_value()) << "no session leader has " << pty << " as its terminal";
    EXPECT_NE(*holder, emulator.Pid());
    EXPECT_NE(StatOf(emulator.Pid()).terminal, static_cast<long>(device.st_rdev));

    // The host closing its port, as Wine does after every scan, hangs nothing up.
    { Host once(emulator.Link()); }
    Host again(emulator.Link());
    const auto reply = again.Exchange(sam::kModuleStatus);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->Sw3(), sam::kSuccess);

    // When the emulator dies, so does the holder.
    ::kill(emulator.Pid(), SIGKILL);
    EXPECT_TRUE(emulator.Ended().has_value());
    EXPECT_TRUE(WaitUntil([&] { return ::kill(*holder, 0) != 0; })) << "the holder outlived the emulator";
}

TEST(EmulatorProcess, UnpluggedMidFrameTheLineAndTheLinkGo) {
    Emulator emulator;
    ASSERT_TRUE(emulator.Start({"--card", "zhangsan", "--fault", "unplug@read"}));
    Host host(emulator.Link());
    ASSERT_TRUE(host.Exchange(sam::kFindCard).has_value()) << "unplug@read spoils the read alone";
    ASSERT_TRUE(host.Ask(sam::kReadTextAndPhoto));
    const auto half = host.Listen(3s);
    EXPECT_TRUE(host.ended) << "the line is still alive";
    EXPECT_FALSE(Host::Frame(half).has_value());
    EXPECT_FALSE(half.empty()) << "the half frame did not arrive before the line died";
    EXPECT_EQ(emulator.Ended(), 0);
    EXPECT_FALSE(fs::is_symlink(emulator.Link()));
    EXPECT_EQ(emulator.ExitReason(), "reason=unplugged\n");
    EXPECT_FALSE(Host(emulator.Link()).Open());
}

TEST(EmulatorProcess, UnpluggedAfterTheReplyTheHostGetsItWhole) {
    Emulator emulator;
    ASSERT_TRUE(emulator.Start({"--card", "zhangsan", "--fault", "unplug-after@read"}));
    Host host(emulator.Link());
    // The host is slow to read: the line must not die before it has taken the reply.
    ASSERT_TRUE(host.Ask(sam::kReadTextAndPhoto));
    std::this_thread::sleep_for(300ms);
    const auto reply = Host::Frame(host.Listen(2s));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->Sw3(), sam::kSuccess);
    EXPECT_EQ(emulator.Ended(), 0);
    EXPECT_FALSE(fs::is_symlink(emulator.Link()));
}

TEST(EmulatorProcess, EndsAndRemovesItsLinkWhenToldOrLeftAlone) {
    struct Case {
        const char* reason;
        std::vector<std::string> arguments;
        std::function<void(Emulator&)> then;
    };
    pid_t parent = -1;
    const std::vector<Case> cases{
        {"stop file", {}, [](Emulator& e) { Put(e.Control() / "stop", ""); }},
        {"signal", {}, [](Emulator& e) { ::kill(e.Pid(), SIGTERM); }},
        {"control directory removed", {}, [](Emulator& e) { fs::remove_all(e.Control()); }},
        {"lifetime", {"--lifetime", "1"}, nullptr},
        {"no heartbeat", {"--heartbeat", "1"}, nullptr},
        {"parent gone", {"--parent-pid", "PARENT"}, [&](Emulator&) { ::kill(parent, SIGKILL); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        std::vector<std::string> arguments = c.arguments;
        if (arguments.size() == 2 && arguments[1] == "PARENT") {
            char sleep[] = "/bin/sleep";
            char seconds[] = "30";
            char* argv[] = {sleep, seconds, nullptr};
            ASSERT_EQ(::posix_spawn(&parent, sleep, nullptr, nullptr, argv, environ), 0);
            arguments[1] = std::to_string(parent);
        }
        Emulator emulator;
        ASSERT_TRUE(emulator.Start(arguments));
        ASSERT_TRUE(fs::is_symlink(emulator.Link()));
        if (c.then) c.then(emulator);
        if (parent > 0) ::waitpid(parent, nullptr, 0);
        EXPECT_EQ(emulator.Ended(), 0);
        EXPECT_FALSE(fs::is_symlink(emulator.Link()));
        if (std::string(c.reason) != "control directory removed") {
            EXPECT_EQ(emulator.ExitReason(), std::string("reason=") + c.reason + "\n");
        }
        parent = -1;
    }
}

TEST(EmulatorProcess, TakesOnlyAPortNoOneUses) {
    {
        // Someone else's live port stays theirs.
        Emulator emulator;
        fs::create_symlink("/dev/null", emulator.Link());
        EXPECT_FALSE(emulator.Start());
        EXPECT_EQ(emulator.Ended(), 1);
        EXPECT_NE(emulator.ExitReason().find("com7 is taken"), std::string::npos) << emulator.ExitReason();
        EXPECT_EQ(fs::read_symlink(emulator.Link()), "/dev/null");
    }
    {
        // A dead link, left by a killed emulator, is taken over.
        Emulator emulator;
        fs::create_symlink("/dev/pts/no-such-pty", emulator.Link());
        ASSERT_TRUE(emulator.Start());
        Put(emulator.Control() / "stop", "");
        EXPECT_EQ(emulator.Ended(), 0);
        EXPECT_FALSE(fs::is_symlink(emulator.Link()));
    }
    {
        // --replace borrows a live port and gives it back.
        Emulator emulator;
        fs::create_symlink("/dev/null", emulator.Link());
        ASSERT_TRUE(emulator.Start({"--replace"}));
        EXPECT_NE(fs::read_symlink(emulator.Link()), "/dev/null");
        Put(emulator.Control() / "stop", "");
        EXPECT_EQ(emulator.Ended(), 0);
        EXPECT_EQ(fs::read_symlink(emulator.Link()), "/dev/null");
    }
}

}  // namespace
}  // namespace emulator
