#include "card_block.h"

namespace emulator {

namespace {

// A field of the foreign layout: its first byte and its width in UCS-2 characters.
struct Field {
    std::size_t offset;
    std::size_t chars;
};

// English name 120 bytes, sex 2, card number 30, nationality 6, Chinese name 30, valid from
// 16, valid until 16, birth date 16, version 4, authority code 8, type 2, reserved 6.
constexpr Field kEnglishName{0, 60};
constexpr Field kSex{120, 1};
constexpr Field kCardNumber{122, 15};
constexpr Field kNationality{152, 3};
constexpr Field kChineseName{158, 15};
constexpr Field kValidFrom{188, 8};
constexpr Field kValidUntil{204, 8};
constexpr Field kBirthDate{220, 8};
constexpr Field kVersion{236, 2};
constexpr Field kAuthorityCode{240, 4};
constexpr Field kType{248, 1};

void Put(std::vector<std::uint8_t>& block, Field field, std::u16string_view text) {
    for (std::size_t i = 0; i < field.chars && i < text.size(); ++i) {
        block[field.offset + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        block[field.offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

std::vector<std::uint8_t> ForeignBlock(const SampleCard& card) {
    std::vector<std::uint8_t> block(card::kTextBlockSize);
    for (std::size_t i = 0; i < block.size(); i += 2) block[i] = ' ';
    const card::CardFields& f = card.fields;
    Put(block, kEnglishName, card.englishName);
    Put(block, kSex, f.sexCode);
    Put(block, kCardNumber, f.idNumber);
    Put(block, kNationality, card.nationality);
    Put(block, kChineseName, f.name);
    Put(block, kValidFrom, f.validFrom);
    Put(block, kValidUntil, f.validUntil);
    Put(block, kBirthDate, f.birthDate);
    Put(block, kVersion, card.version);
    Put(block, kAuthorityCode, card.authorityCode);
    Put(block, kType, u"I");
    return block;
}

}  // namespace

std::vector<std::uint8_t> TextBlockOf(const SampleCard& card) {
    if (card.layout == CardLayout::Foreign) return ForeignBlock(card);
    return card::BuildTextBlock(card.fields);
}

}  // namespace emulator
