// UTF-8 <-> UTF-16 conversion for the edge between our UTF-8 strings and the W functions.
// Malformed input becomes U+FFFD instead of being dropped or read past its end.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
