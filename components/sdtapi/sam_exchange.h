// One command and its reply over a serial line to the card module, within a time limit.
// Portable: the transport component runs it on a COM port, the tests on a scripted line.
#pragma once

#include "sam_frame.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace sam {

using Clock = std::chrono::steady_clock;

// The host's end of the line, as an exchange needs it.
class Line {
public:
    virtual ~Line() = default;
    // Sends every byte; false when the line refused them (an unplugged reader).
    virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
    // Waits up to `wait` for a first byte, then takes what follows it without a pause, up to
    // into.size() bytes. The count, 0 when nothing came in time, nullopt when the line failed.
    virtual std::optional<std::size_t> Receive(std::span<std::uint8_t> into, std::chrono::milliseconds wait) = 0;
    // Throws away bytes that arrived but were not read: a late answer to an earlier command.
    virtual void DropInput() = 0;
    // The time the limits are measured in; a scripted line moves its own clock.
    virtual Clock::time_point Now() const = 0;
};

enum class Outcome {
    Reply,         // a well-formed reply frame arrived
    SendFailed,    // the request could not be sent
    LineFailed,    // the line failed while waiting
    NoReply,       // no whole frame before the time limit (silence, garbage, a frame cut off)
    CorruptReply,  // the reply arrived damaged (again, when there was time to ask again)
};

struct Exchange {
    Outcome outcome = Outcome::NoReply;
    Frame reply;  // when outcome is Reply
};

// Sends `command` and waits for the reply until `timeLimit` has passed since the call,
// skipping garbage before it. A reply that arrives damaged, or the module's answer that our
// request arrived damaged, is asked for once more if time is left. A failed send ends it at
// once. No exchange outlasts its limit by more than one Receive's lateness.
Exchange Transact(Line& line, Command command, std::chrono::milliseconds timeLimit);

}  // namespace sam
