// The sample cards the reader emulator lays on its reader: small UTF-8 files of
// "key=value" lines (cards/*.card). Portable: the emulator reads them, and the Windows-side
// tests read them to know which portrait bytes a card carries.
//
//   # a comment
//   layout=resident            resident (mark ' '), permit ('J') or foreign ('I' layout)
//   name=张三
//   sex=1                      the card's codes, as the card holds them
//   nation=01
//   birth=19900307
//   address=北京市东城区景山前街4号
//   id=110101199003071234      the ID number (foreign layout: the card number)
//   authority=北京市公安局东城分局
//   valid_from=20150101
//   valid_until=20350101       or 长期
//   photo=1                    the portrait: SamplePhoto(1)
//
// The foreign layout also knows english_name, nationality, version and authority_code.
// A value is everything after the first '=' up to the end of the line, spaces included, so
// a card can carry a value that fills its field or one with spaces of its own. A missing key
// is an empty field; an unknown key is an error, so that a misspelt key cannot go unnoticed.
#pragma once

#include "card_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulator {

enum class CardLayout { Resident, Permit, Foreign };

struct SampleCard {
    CardLayout layout = CardLayout::Resident;
    card::CardFields fields;  // for the foreign layout: name, sex, id, birth and validity
    // Foreign layout only.
    std::u16string englishName;
    std::u16string nationality;
    std::u16string version;
    std::u16string authorityCode;
    std::uint32_t photoSeed = 0;
};

// The card a file's text describes, or nullopt with the reason in `error`.
std::optional<SampleCard> ParseSampleCard(std::string_view text, std::string* error = nullptr);

// The 1024 opaque portrait bytes of seed `seed`: the same bytes on every platform, different
// for every seed.
std::vector<std::uint8_t> SamplePhoto(std::uint32_t seed);

}  // namespace emulator
