#include "sam_base_message.h"

namespace sam {

namespace {

constexpr std::size_t kLengthsSize = 4;

std::size_t BigEndian16(std::span<const std::uint8_t> bytes) {
    return (std::size_t{bytes[0]} << 8) | bytes[1];
}

void AppendBigEndian16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

}  // namespace

std::optional<TextAndPhoto> ParseTextAndPhoto(std::span<const std::uint8_t> data) {
    if (data.size() < kLengthsSize) return std::nullopt;
    const std::size_t textLength = BigEndian16(data.subspan(0, 2));
    const std::size_t photoLength = BigEndian16(data.subspan(2, 2));
    if (data.size() != kLengthsSize + textLength + photoLength) return std::nullopt;
    const auto text = data.subspan(kLengthsSize, textLength);
    const auto photo = data.subspan(kLengthsSize + textLength, photoLength);
    return TextAndPhoto{{text.begin(), text.end()}, {photo.begin(), photo.end()}};
}

std::vector<std::uint8_t> BuildTextAndPhoto(std::span<const std::uint8_t> text, std::span<const std::uint8_t> photo) {
    std::vector<std::uint8_t> data;
    data.reserve(kLengthsSize + text.size() + photo.size());
    AppendBigEndian16(data, text.size());
    AppendBigEndian16(data, photo.size());
    data.insert(data.end(), text.begin(), text.end());
    data.insert(data.end(), photo.begin(), photo.end());
    return data;
}

}  // namespace sam
