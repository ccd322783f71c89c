// The data of the module's reply to "read text and photo" (30 01):
//   text length (2 bytes, big-endian) | photo length (2 bytes, big-endian) | text | photo
// The module sends 256 text bytes and 1024 photo bytes. Portable: the transport, the reader
// emulator and the tests share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sam {

inline constexpr std::size_t kBaseTextSize = 256;
inline constexpr std::size_t kBasePhotoSize = 1024;

struct TextAndPhoto {
    std::vector<std::uint8_t> text;
    std::vector<std::uint8_t> photo;
};

// The two parts, or nullopt when the lengths do not add up to the data's size.
std::optional<TextAndPhoto> ParseTextAndPhoto(std::span<const std::uint8_t> data);

// The reply data for `text` and `photo` (each shorter than 64 KiB).
std::vector<std::uint8_t> BuildTextAndPhoto(std::span<const std::uint8_t> text, std::span<const std::uint8_t> photo);

}  // namespace sam
