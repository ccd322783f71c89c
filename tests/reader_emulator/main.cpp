// orvia_reader_emulator: an ID-card reader for Orvia's tests and demo on Linux. It plays
// the reader's card module on a pseudo-terminal that Wine sees as a COM port, with sample
// cards and fault modes chosen through a control directory (control_dir.h, README.md).
#include "com_link.h"
#include "control_dir.h"
#include "options.h"
#include "pty_port.h"
#include "server.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t gSignalled = 0;

void OnSignal(int) { gSignalled = 1; }

void CatchSignals() {
    struct sigaction action{};
    action.sa_handler = &OnSignal;
    ::sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

int Complain(const std::string& what) {
    std::fprintf(stderr, "orvia_reader_emulator: %s\n", what.c_str());
    return 1;
}

struct Ending {
    std::string reason;
    bool failed = false;  // the port could not be set up
};

// Sets up the port, serves, and takes the port away again.
Ending Serve(const emulator::Options& options, emulator::ControlDir& control) {
    std::string error;
    const std::unique_ptr<emulator::PtyPort> port = emulator::PtyPort::Open(&error);
    if (!port) return {"no pty: " + error, true};
    const std::unique_ptr<emulator::ComLink> link =
        emulator::ComLink::Make(options.prefix, options.com, port->SlavePath(), options.replace, &error);
    if (!link) return {"no COM port: " + error, true};
    control.Write("ready", "pid=" + std::to_string(::getpid()) + "\ncom=" + std::to_string(options.com) +
                               "\npty=" + port->SlavePath() + "\nlink=" + link->Path() + "\n");
    emulator::Server server(options, *port, *link, control);
    return {server.Run(gSignalled)};
}  // the link goes first, then the line

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<emulator::Options> options = emulator::ParseOptions(argc, argv, &error);
    if (!options) {
        std::fprintf(stderr, "orvia_reader_emulator: %s\n%s", error.c_str(), emulator::kUsage);
        return 2;
    }
    CatchSignals();
    emulator::ControlDir control(options->control, options->cards);
    if (!control.Prepare(&error)) return Complain(error);
    // Leftovers of an earlier run would mislead whoever waits for these.
    for (const char* name : {"/ready", "/exited", "/stop"}) ::unlink((control.Path() + name).c_str());
    if (options->card && !control.Write("card", *options->card + "\n")) return Complain("cannot write the card file");
    if (options->fault && !control.Write("fault", *options->fault + "\n"))
        return Complain("cannot write the fault file");

    const Ending ending = Serve(*options, control);
    control.Log("ended: " + ending.reason);
    control.Write("exited", "reason=" + ending.reason + "\n");
    return ending.failed ? Complain(ending.reason) : 0;
}
