// How the emulated reader misbehaves, as written in its control directory's `fault` file:
// a mode, optionally followed by "@" and the request it spoils (every request by default).
//
//   none            a healthy reader
//   removed         the card leaves between select and read: find and select answer, the
//                   read fails with SW3 0x41 (reading the card failed)
//   bad-checksum    replies carry a wrong checksum
//   silent          no reply at all
//   garbage         stray bytes (partial preambles among them) before each reply frame
//   noise           stray bytes instead of the reply, sent on and on until the next request
//   unplug          half the reply frame, then the port dies (the emulator ends)
//   unplug-after    the whole reply, then, once the host has taken it, the port dies
//
// Requests: status, reset, id, find, select, read (e.g. "silent@read", "unplug-after@read").
#pragma once

#include "sam_frame.h"

#include <optional>
#include <string_view>

namespace emulator {

enum class FaultMode { None, Removed, BadChecksum, Silent, Garbage, Noise, Unplug, UnplugAfter };

struct Fault {
    FaultMode mode = FaultMode::None;
    // The request it spoils; none: every request, damaged ones included.
    std::optional<sam::Command> only;

    bool Spoils(std::optional<sam::Command> request) const {
        return mode != FaultMode::None && (!only || (request && *request == *only));
    }
};

// The fault a `fault` file's text names (surrounding white space ignored; an empty text is
// "none"), or nullopt when it names none.
std::optional<Fault> ParseFault(std::string_view text);

// The name of a request the faults know ("status", "read", …); "?" for any other.
std::string_view RequestName(sam::Command request);
// `text` without the blanks and line breaks around it: control files are written by hand
// (`echo` adds a line break).
std::string_view Trimmed(std::string_view text);
std::string_view ModeName(FaultMode mode);

}  // namespace emulator
