// The emulator's control directory, through which whoever started it (a test under Wine, a
// script) changes the card and the fault while it runs, and learns how it fares.
//
// Read by the emulator, on every request and about every 50 ms:
//   card       the card on the reader: a name from the cards directory ("zhangsan" for
//              cards/zhangsan.card), a path to a card file, or "none" (or empty) for no card
//   fault      the fault in force (see fault.h); missing or empty: none
//   stop       when it appears, the emulator removes its COM link and ends
//   heartbeat  with --heartbeat S: the emulator ends when this file is older than S seconds
// Written by the emulator:
//   ready      once the COM link is in place: "pid=…", "com=…", "pty=…" lines
//   log        one line per request: the request, the answer's SW3 and what was done to it
//   exited     last of all, after the link is gone: "reason=…"
#pragma once

#include "fault.h"
#include "sample_card.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

class ControlDir {
public:
    ControlDir(std::string path, std::string cardsDir) : path_(std::move(path)), cards_(std::move(cardsDir)) {}

    // Creates the directory when needed and opens the log; false with the reason.
    bool Prepare(std::string* error);

    // The card on the reader now, read afresh; nullopt for none, or for a card file that
    // cannot be used (reported on stderr once).
    std::optional<SampleCard> Card();
    // The fault in force now, read afresh; an unknown one counts as none (reported once).
    Fault CurrentFault();

    bool StopRequested() const;
    bool Gone() const;  // the directory itself was removed
    // How long ago the heartbeat file was last written; nullopt when there is none.
    std::optional<std::chrono::seconds> HeartbeatAge() const;

    bool Write(std::string_view name, std::string_view content) const;  // whole or not at all
    void Log(std::string_view line);

    const std::string& Path() const { return path_; }

private:
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::string CardPath(std::string_view name) const;
    void Complain(std::string& last, const std::string& problem);

    std::string path_;
    std::string cards_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_{nullptr, &std::fclose};
    std::string lastCardProblem_;
    std::string lastFaultProblem_;
};

// A whole small file's text; nullopt when it cannot be read.
std::optional<std::string> ReadText(const std::string& path);

}  // namespace emulator
