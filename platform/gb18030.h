// GB18030 (code page 54936) both ways, our own so that it is the same wherever Orvia runs:
// Wine knows no code page 54936, and Windows 7 follows an older edition for a few codes.
// GB18030 is GBK for every character GBK has and carries every other Unicode character in
// four bytes, so a card's whole name fits. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr unsigned kGb18030CodePage = 54936;

// The text's GB18030 bytes; nullopt when it holds a lone surrogate (no character at all).
std::optional<std::string> ToGb18030(std::u16string_view text);

// GB18030 bytes as text; a byte sequence that is no GB18030 code becomes U+FFFD.
std::u16string FromGb18030(std::string_view bytes);

}  // namespace platform
