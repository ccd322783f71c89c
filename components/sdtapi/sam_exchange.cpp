#include "sam_exchange.h"

#include <algorithm>
#include <vector>

namespace sam {

namespace {

constexpr std::size_t kHeaderSize = kPreamble.size() + 2;  // preamble and length
// After a damaged frame, a pause this long on the line means no good frame follows it.
constexpr std::chrono::milliseconds kSettle{20};

enum class Attempt { Reply, SendFailed, LineFailed, NoReply, Damaged };

// How many bytes to ask the line for: the rest of a frame whose length is known, otherwise
// enough to learn the next frame's length.
std::size_t BytesToAskFor(const FrameReader& reader) {
    if (const std::size_t missing = reader.Missing(); missing > 0) return missing;
    const std::size_t pending = reader.Pending();
    return pending < kHeaderSize ? kHeaderSize - pending : 1;
}

std::chrono::milliseconds Remaining(Clock::time_point now, Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    return std::max(left, std::chrono::milliseconds(1));
}

Attempt TryOnce(Line& line, std::span<const std::uint8_t> request, Clock::time_point deadline,
                std::vector<std::uint8_t>& chunk, Frame& reply) {
    line.DropInput();
    if (!line.Send(request)) return Attempt::SendFailed;
    FrameReader reader(Direction::Reply);
    bool damaged = false;
    for (;;) {
        for (FrameReader::Status status; (status = reader.Next()) != FrameReader::Status::NeedMore;) {
            if (status == FrameReader::Status::Frame) {
                reply = reader.Take();
                const bool requestDamaged =
                    reply.Sw3() == kRequestChecksumError || reply.Sw3() == kRequestLengthError;
                return requestDamaged ? Attempt::Damaged : Attempt::Reply;
            }
            damaged |= status == FrameReader::Status::BadChecksum;
        }

        const Clock::time_point now = line.Now();
        if (now >= deadline) return damaged ? Attempt::Damaged : Attempt::NoReply;
        // After a damaged frame only what is still on its way counts: a false preamble in
        // garbage can hide the real reply behind it, a damaged reply has nothing behind it.
        const std::chrono::milliseconds wait = damaged ? std::min(Remaining(now, deadline), kSettle)
                                                       : Remaining(now, deadline);
        const std::size_t want = std::min(BytesToAskFor(reader), chunk.size());
        const std::optional<std::size_t> received = line.Receive(std::span(chunk).first(want), wait);
        if (!received) return Attempt::LineFailed;
        if (*received == 0 && damaged) return Attempt::Damaged;
        reader.Feed(std::span(chunk).first(std::min(*received, want)));
    }
}

}  // namespace

Exchange Transact(Line& line, Command command, std::chrono::milliseconds timeLimit) {
    const Clock::time_point deadline = line.Now() + timeLimit;
    const std::vector<std::uint8_t> request = BuildRequest(command);
    std::vector<std::uint8_t> chunk(kHeaderSize + kMaxLength);
    Exchange result;
    Attempt attempt = TryOnce(line, request, deadline, chunk, result.reply);
    if (attempt == Attempt::Damaged && line.Now() < deadline)
        attempt = TryOnce(line, request, deadline, chunk, result.reply);
    switch (attempt) {
        case Attempt::Reply: result.outcome = Outcome::Reply; return result;
        case Attempt::SendFailed: result.outcome = Outcome::SendFailed; break;
        case Attempt::LineFailed: result.outcome = Outcome::LineFailed; break;
        case Attempt::NoReply: result.outcome = Outcome::NoReply; break;
        case Attempt::Damaged: result.outcome = Outcome::CorruptReply; break;
    }
    result.reply = Frame{};
    return result;
}

}  // namespace sam
