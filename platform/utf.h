// UTF-8 <-> UTF-16 conversion for the edge between our UTF-8 strings and the W functions.
// Malformed input becomes U+FFFD instead of being dropped or read past its end.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Appends the UTF-8 bytes of one code point, which the caller has checked is a character.
void AppendUtf8(std::string& out, char32_t c);

// Whether `bytes` are well-formed UTF-8: no overlong form, no encoded surrogate, nothing past
// U+10FFFF, no sequence cut short. Tells a file's encoding, and refuses a name that would
// otherwise turn into U+FFFD unseen.
bool IsUtf8(std::string_view bytes);

}  // namespace platform
