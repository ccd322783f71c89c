// The card-reader emulator (tests/reader_emulator, a native Linux program) as a test or a
// benchmark under Wine uses it: started on a COM port of this Wine prefix with a sample
// card on the reader, then given other cards and faults, and stopped, through its control
// directory. The emulator's path comes from ORVIA_READER_EMULATOR (set by the build when it
// knows the native build), its sample cards from ORVIA_READER_CARDS.
#pragma once

#include "tests/e2e/harness.h"

#include <atomic>
#include <string>
#include <string_view>
#include <thread>

namespace e2e {

class ReaderEmulator {
public:
    // Why no emulator can run here (not under Wine, no emulator built); empty when one can.
    static std::string Unavailable();

    ReaderEmulator() = default;
    ~ReaderEmulator();  // stops it
    ReaderEmulator(const ReaderEmulator&) = delete;
    ReaderEmulator& operator=(const ReaderEmulator&) = delete;

    // Starts it as \\.\COM<port> with `card` on the reader ("zhangsan", "none", or a card
    // file's Linux path) and `fault` in force (tests/reader_emulator/fault.h), and waits until
    // the port can be opened. False with the reason in Error().
    bool Start(int port, std::string_view card, std::string_view fault = "none");

    // Take effect from the next request on.
    bool SetCard(std::string_view card);
    bool SetFault(std::string_view fault);
    // Takes the card away and waits until a host has found the reader empty: a card swapped
    // for another faster than a watching host looks is taken for the same card left lying.
    bool TakeCardAway(Milliseconds timeout = 5s);

    // Asks it to end and waits until its port has gone; false when it did not end.
    bool Stop(Milliseconds timeout = 10s);
    // Whether it has ended (by itself, e.g. unplugged, or stopped); its port is gone then.
    bool HasEnded() const;
    // Why it ended ("unplugged", "stop file", …); empty while it runs.
    std::string ExitReason() const;
    // One line per request it answered, for failure messages.
    std::string Log() const;
    // How many lines of the log hold `entry`.
    int CountInLog(std::string_view entry) const;

    const std::string& Error() const { return error_; }
    int Port() const { return port_; }

private:
    bool WriteControl(std::wstring_view name, std::string_view text) const;
    std::string ReadControl(std::wstring_view name) const;
    void StopHeartbeat();

    std::wstring control_;  // the control directory (a Windows path)
    std::string error_;
    int port_ = 0;
    std::atomic<bool> beating_{false};
    std::thread heartbeat_;
};

// A sample card's file (<ORVIA_READER_CARDS>\<name>.card) as a Windows path; empty when the
// variable is not set.
std::wstring SampleCardPath(std::string_view name);

}  // namespace e2e
