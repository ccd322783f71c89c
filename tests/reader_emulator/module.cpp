#include "module.h"

#include "card_block.h"

#include <algorithm>

namespace emulator {

namespace {

constexpr std::size_t kFindDataSize = 4;
constexpr std::size_t kSelectDataSize = 8;
constexpr std::size_t kSw3Offset = sam::kPreamble.size() + 2 + 2;  // after the length, SW1 and SW2
// A part of a preamble that stray bytes may carry, to lure a reader that resynchronises
// badly: everything but its last byte.
constexpr std::uint8_t kLure[] = {0xAA, 0xAA, 0xAA, 0x96};

void PutBigEndian16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Text length, photo length, text, photo: the data of a successful "read text and photo".
std::vector<std::uint8_t> TextAndPhoto(const SampleCard& card) {
    const std::vector<std::uint8_t> text = TextBlockOf(card);
    const std::vector<std::uint8_t> photo = SamplePhoto(card.photoSeed);
    std::vector<std::uint8_t> data;
    data.reserve(4 + text.size() + photo.size());
    PutBigEndian16(data, text.size());
    PutBigEndian16(data, photo.size());
    data.insert(data.end(), text.begin(), text.end());
    data.insert(data.end(), photo.begin(), photo.end());
    return data;
}

}  // namespace

std::vector<std::uint8_t> ModuleId() {
    return {0x05, 0x00, 0x01, 0x00, 0x20, 0x24, 0x12, 0x09, 0x4F, 0x52, 0x56, 0x49, 0x41, 0x00, 0x00, 0x01};
}

std::vector<std::uint8_t> Module::HealthyReply(sam::Command request, const SampleCard* card) {
    if (request == sam::kResetModule || request == sam::kModuleStatus) return sam::BuildReply(sam::kSuccess);
    if (request == sam::kReadModuleId) return sam::BuildReply(sam::kSuccess, ModuleId());
    if (request == sam::kFindCard) {
        if (!card) return sam::BuildReply(sam::kNoCard);
        return sam::BuildReply(sam::kCardFound, std::vector<std::uint8_t>(kFindDataSize));
    }
    if (request == sam::kSelectCard) {
        if (!card) return sam::BuildReply(sam::kSelectFailed);
        return sam::BuildReply(sam::kSuccess, std::vector<std::uint8_t>(kSelectDataSize));
    }
    if (request == sam::kReadTextAndPhoto) {
        if (!card) return sam::BuildReply(sam::kReadFailed);
        return sam::BuildReply(sam::kSuccess, TextAndPhoto(*card));
    }
    return sam::BuildReply(sam::kUnknownCommand);
}

Response Module::Answer(sam::Command request, const SampleCard* card, const Fault& fault) {
    std::vector<std::uint8_t> reply = HealthyReply(request, card);
    const std::uint8_t sw3 = reply[kSw3Offset];
    Response response = fault.Spoils(request) ? Spoilt(std::move(reply), fault.mode) : Response{std::move(reply)};
    response.sw3 = sw3;
    return response;
}

Response Module::AnswerDamaged(sam::FrameReader::Status status, const Fault& fault) {
    const auto sw3 = status == sam::FrameReader::Status::BadLength ? sam::kRequestLengthError
                                                                   : sam::kRequestChecksumError;
    Response response = fault.Spoils(std::nullopt) ? Spoilt(sam::BuildReply(sw3), fault.mode)
                                                   : Response{sam::BuildReply(sw3)};
    response.sw3 = sw3;
    return response;
}

Response Module::Spoilt(std::vector<std::uint8_t> reply, FaultMode mode) {
    switch (mode) {
        case FaultMode::None: return {std::move(reply)};
        case FaultMode::Removed: return {sam::BuildReply(sam::kReadFailed)};
        case FaultMode::BadChecksum: reply.back() ^= 0x5A; return {std::move(reply)};
        case FaultMode::Silent: return {};
        case FaultMode::Garbage: {
            std::vector<std::uint8_t> bytes = StrayBytes();
            bytes.insert(bytes.end(), reply.begin(), reply.end());
            return {std::move(bytes)};
        }
        case FaultMode::Noise: return {.bytes = StrayBytes(), .noise = true};
        case FaultMode::Unplug:
            reply.resize(reply.size() / 2);
            return {.bytes = std::move(reply), .unplug = true};
        case FaultMode::UnplugAfter: return {.bytes = std::move(reply), .unplug = true};
    }
    return {std::move(reply)};
}

std::uint32_t Module::Random() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

std::vector<std::uint8_t> Module::StrayBytes() {
    std::vector<std::uint8_t> bytes(8 + Random() % 40);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(Random() >> 24);
    // Now and then a preamble that never completes.
    if (Random() % 2 == 0) {
        const std::size_t at = Random() % (bytes.size() - sizeof kLure);
        std::copy(std::begin(kLure), std::end(kLure), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
    // No whole preamble may hide in them, and none may begin at their end, where the next
    // burst or the reply could complete it.
    for (std::size_t i = 0; i + sam::kPreamble.size() <= bytes.size(); ++i) {
        if (std::equal(sam::kPreamble.begin(), sam::kPreamble.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i)))
            bytes[i + sam::kPreamble.size() - 1] = 0x00;
    }
    if (bytes.back() == 0xAA || bytes.back() == 0x96) bytes.back() = 0x00;
    return bytes;
}

}  // namespace emulator
