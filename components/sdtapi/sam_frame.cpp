#include "sam_frame.h"

#include <algorithm>

namespace sam {

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes) sum ^= byte;
    return sum;
}

std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> head, std::span<const std::uint8_t> data) {
    const std::size_t length = head.size() + data.size() + 1;
    std::vector<std::uint8_t> frame(kPreamble.begin(), kPreamble.end());
    frame.reserve(kPreamble.size() + 2 + length);
    frame.push_back(static_cast<std::uint8_t>(length >> 8));
    frame.push_back(static_cast<std::uint8_t>(length & 0xFF));
    frame.insert(frame.end(), head.begin(), head.end());
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(Checksum(std::span(frame).subspan(kPreamble.size())));
    return frame;
}

std::vector<std::uint8_t> BuildRequest(Command command, std::span<const std::uint8_t> data) {
    const std::uint8_t head[] = {command.cmd, command.para};
    return BuildFrame(head, data);
}

std::vector<std::uint8_t> BuildReply(std::uint8_t sw3, std::span<const std::uint8_t> data) {
    const std::uint8_t head[] = {0x00, 0x00, sw3};
    return BuildFrame(head, data);
}

void FrameReader::Feed(std::span<const std::uint8_t> bytes) {
    Compact();
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void FrameReader::Clear() {
    consumedBefore_ += buffer_.size();
    buffer_.clear();
    start_ = 0;
}

void FrameReader::Compact() {
    if (start_ == 0) return;
    consumedBefore_ += start_;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
}

std::size_t FrameReader::LengthAt(std::size_t at) const {
    return (std::size_t{buffer_[at + kPreamble.size()]} << 8) | buffer_[at + kPreamble.size() + 1];
}

bool FrameReader::IsPossibleLength(std::size_t length) const {
    return length >= HeadSize() + 1 && length <= kMaxLength;
}

std::size_t FrameReader::Missing() const {
    const std::size_t available = buffer_.size() - start_;
    if (available < kPreamble.size() + 2) return 0;
    if (!std::equal(kPreamble.begin(), kPreamble.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_)))
        return 0;
    const std::size_t length = LengthAt(start_);
    if (!IsPossibleLength(length)) return 0;  // Next() drops it; nothing to wait for
    const std::size_t whole = kPreamble.size() + 2 + length;
    return whole > available ? whole - available : 0;
}

FrameReader::Status FrameReader::Next() {
    // Skip to the next preamble; keep a tail that may be the start of one.
    const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(start_);
    const auto found = std::search(begin, buffer_.end(), kPreamble.begin(), kPreamble.end());
    if (found == buffer_.end()) {
        const std::size_t keep = std::min(buffer_.size() - start_, kPreamble.size() - 1);
        start_ = buffer_.size() - keep;
        return Status::NeedMore;
    }
    start_ = static_cast<std::size_t>(found - buffer_.begin());

    const std::size_t available = buffer_.size() - start_;
    if (available < kPreamble.size() + 2) return Status::NeedMore;
    const std::size_t length = LengthAt(start_);
    if (!IsPossibleLength(length)) {
        ++start_;
        return Status::BadLength;
    }
    const std::size_t whole = kPreamble.size() + 2 + length;
    if (available < whole) return Status::NeedMore;

    // The checksummed part: both length bytes, then `length` bytes ending with CHK itself.
    const auto body = std::span(buffer_).subspan(start_ + kPreamble.size(), 2 + length);
    if (Checksum(body.first(body.size() - 1)) != body.back()) {
        ++start_;
        return Status::BadChecksum;
    }
    frame_ = Frame{};
    const auto head = body.subspan(2, HeadSize());
    std::copy(head.begin(), head.end(), frame_.head.begin());
    const auto data = body.subspan(2 + HeadSize(), length - HeadSize() - 1);
    frame_.data.assign(data.begin(), data.end());
    start_ += whole;
    return Status::Frame;
}

}  // namespace sam
