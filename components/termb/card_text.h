// The text block a card's base message carries (256 bytes, UCS-2 little-endian, fields
// padded with spaces) and the eight fields the reader interface writes to its card text
// file. Portable: the interface component, the reader emulator and the tests share it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace card {

inline constexpr std::size_t kTextBlockSize = 256;
inline constexpr std::size_t kPhotoSize = 1024;

// The mark at byte 248: a space for the resident card, 'J' for the residence permit of
// Hong Kong, Macau and Taiwan residents (same layout). Any other layout is refused.
inline constexpr char16_t kResidentMark = u' ';
inline constexpr char16_t kPermitMark = u'J';

// One card's text fields as the card holds them, padding removed.
struct CardFields {
    std::u16string name;
    std::u16string sexCode;     // "1"
    std::u16string nationCode;  // "01"
    std::u16string birthDate;   // "19900307"
    std::u16string address;
    std::u16string idNumber;
    std::u16string authority;
    std::u16string validFrom;   // "20150101"
    std::u16string validUntil;  // "20350101" or "长期"
    char16_t typeMark = kResidentMark;
};

// The fields of a text block, or nullopt when the block is too short or of a layout this
// reader does not know (a mark other than space or 'J').
std::optional<CardFields> ParseTextBlock(std::span<const std::uint8_t> block);

// The 256-byte block for `fields`, each padded with spaces to its width (longer values are
// cut). For the reader emulator and the tests.
std::vector<std::uint8_t> BuildTextBlock(const CardFields& fields);

// "男" for "1", … ; a code the tables do not know is given back as it stands.
std::u16string SexText(std::u16string_view code);
std::u16string NationText(std::u16string_view code);

// The eight fields of the card text file, in order: name, sex (text), nation (text), birth
// date, address, ID number, issuing authority, validity ("YYYY.MM.DD-YYYY.MM.DD" or
// "YYYY.MM.DD-长期").
std::array<std::u16string, 8> CardFileFields(const CardFields& fields);

// False when a field holds a character that would change the file's shape for its reader:
// a line break (one field more) or a zero character (the reader stops there).
bool FitsCardFile(const std::array<std::u16string, 8>& fields);

}  // namespace card
