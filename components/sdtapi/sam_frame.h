// Frames of the ID-card module's serial protocol, both directions. Portable: the transport
// component, the reader emulator and the tests share it.
//
//   AA AA AA 96 69 | LEN_HI LEN_LO | head (request: CMD PARA; reply: SW1 SW2 SW3) | data | CHK
//
// LEN counts every byte after itself, CHK included; CHK is the XOR of every byte from
// LEN_HI up to the byte before CHK.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace sam {

inline constexpr std::array<std::uint8_t, 5> kPreamble{0xAA, 0xAA, 0xAA, 0x96, 0x69};

// Longest length field either side accepts: a reply with text, photo and fingerprint
// (3 + 2 + 2 + 2 + 256 + 1024 + 1024 + 1) fits with room to spare.
inline constexpr std::size_t kMaxLength = 4096;

// Commands, as CMD and PARA.
struct Command {
    std::uint8_t cmd;
    std::uint8_t para;
    friend bool operator==(const Command&, const Command&) = default;
};
inline constexpr Command kResetModule{0x10, 0xFF};
inline constexpr Command kModuleStatus{0x11, 0xFF};
inline constexpr Command kReadModuleId{0x12, 0xFF};
inline constexpr Command kFindCard{0x20, 0x01};
inline constexpr Command kSelectCard{0x20, 0x02};
inline constexpr Command kReadTextAndPhoto{0x30, 0x01};

// Result codes (SW3) that the transport and the emulator use by name.
enum Sw3 : std::uint8_t {
    kSuccess = 0x90,
    kCardFound = 0x9F,
    kRequestChecksumError = 0x10,
    kRequestLengthError = 0x11,
    kUnknownCommand = 0x21,
    kUnknownCardType = 0x40,
    kReadFailed = 0x41,
    kNoCard = 0x80,
    kSelectFailed = 0x81,
};

// XOR of `bytes`.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

// A whole frame: preamble, length, `head`, `data`, checksum. Frames longer than kMaxLength
// are refused by every FrameReader; the protocol's own are far shorter.
std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> head, std::span<const std::uint8_t> data);
std::vector<std::uint8_t> BuildRequest(Command command, std::span<const std::uint8_t> data = {});
std::vector<std::uint8_t> BuildReply(std::uint8_t sw3, std::span<const std::uint8_t> data = {});

// Which side's frames a reader expects: requests carry 2 head bytes, replies 3.
enum class Direction { Request, Reply };

struct Frame {
    std::array<std::uint8_t, 3> head{};  // CMD PARA (third byte 0) or SW1 SW2 SW3
    std::vector<std::uint8_t> data;

    Command AsCommand() const { return {head[0], head[1]}; }
    std::uint8_t Sw3() const { return head[2]; }
};

// Takes bytes as they arrive and finds whole frames in them. Bytes before a preamble are
// skipped; a frame whose length is impossible or whose checksum is wrong is reported and
// passed over (the search restarts one byte after its preamble's start), so one bad frame
// never swallows a good one that follows.
class FrameReader {
public:
    enum class Status {
        NeedMore,     // no whole frame yet
        Frame,        // Take() gives it
        BadChecksum,  // a frame was dropped
        BadLength,    // a preamble with an impossible length was dropped
    };

    explicit FrameReader(Direction direction) : direction_(direction) {}

    void Feed(std::span<const std::uint8_t> bytes);
    // Looks for the next event in what has been fed. Call until NeedMore.
    Status Next();
    // The frame Next() last reported.
    Frame Take() { return std::move(frame_); }
    // Bytes that are held, waiting for the rest of a frame (or skipped garbage not yet
    // dropped).
    std::size_t Pending() const { return buffer_.size() - start_; }
    // The number of bytes the frame being assembled still needs, when its length is known;
    // 0 otherwise. Lets a transport ask for exactly the rest.
    std::size_t Missing() const;
    // How many of the bytes fed so far lie behind the reader (skipped, dropped or taken as
    // frames): after a Frame, the frame's bytes end here.
    std::size_t Consumed() const { return consumedBefore_ + start_; }
    // Forgets everything fed so far (bytes of an earlier exchange).
    void Clear();

private:
    std::size_t HeadSize() const { return direction_ == Direction::Request ? 2 : 3; }
    std::size_t LengthAt(std::size_t preambleStart) const;
    bool IsPossibleLength(std::size_t length) const;
    void Compact();

    Direction direction_;
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;           // first byte not yet consumed
    std::size_t consumedBefore_ = 0;  // bytes consumed and already removed from buffer_
    Frame frame_;
};

}  // namespace sam
