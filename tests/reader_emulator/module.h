// The card module the emulator plays: what it answers to each request, given the card on
// the reader and the fault in force. Portable and free of I/O, so every answer can be
// checked without a port.
#pragma once

#include "fault.h"
#include "sam_frame.h"
#include "sample_card.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace emulator {

struct Response {
    std::vector<std::uint8_t> bytes;  // what goes on the line now (none: silence)
    std::uint8_t sw3 = 0;             // the result the healthy module would have given
    bool noise = false;               // then stray bytes, on and on, until the next request
    bool unplug = false;              // then the port dies
};

class Module {
public:
    explicit Module(std::uint32_t seed = 1) : random_(seed ? seed : 1) {}

    // The answer to a sound request, with `card` on the reader (null: none).
    Response Answer(sam::Command request, const SampleCard* card, const Fault& fault);
    // The answer to a request that arrived with a wrong checksum or an impossible length.
    Response AnswerDamaged(sam::FrameReader::Status status, const Fault& fault);
    // A burst of stray bytes that holds no preamble.
    std::vector<std::uint8_t> StrayBytes();

private:
    static std::vector<std::uint8_t> HealthyReply(sam::Command request, const SampleCard* card);
    Response Spoilt(std::vector<std::uint8_t> reply, FaultMode mode);
    std::uint32_t Random();

    std::uint32_t random_;
};

// The module id the emulator reports to "read module id" (16 bytes).
std::vector<std::uint8_t> ModuleId();

}  // namespace emulator
