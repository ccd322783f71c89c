// The card text file the reader component writes after reading a card: GB18030 text (GBK
// from makers' libraries, which GB18030 reads alike), fields separated by CR LF. Portable; the fields come back as the file's bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace reader {

inline constexpr int kNameField = 1;
inline constexpr int kIdNumberField = 6;
inline constexpr int kCardFileFieldCount = 8;

// Field `position` (counted from 1) of the file's bytes. Everything from the first zero
// byte on is ignored; a final CR LF does not start another field. A file that does not hold
// exactly eight fields, or a position outside 1 to 8, gives the empty text.
// Splitting the bytes is the same as splitting the decoded text: no GB18030 character has
// a CR, LF or zero byte inside it.
std::string CardFileField(std::span<const std::uint8_t> bytes, int position);

}  // namespace reader
