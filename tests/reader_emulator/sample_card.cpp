#include "sample_card.h"

#include "platform/utf.h"

#include <charconv>

namespace emulator {

namespace {

bool Fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return false;
}

bool SetLayout(SampleCard& card, std::string_view value) {
    if (value == "resident") {
        card.layout = CardLayout::Resident;
        card.fields.typeMark = card::kResidentMark;
    } else if (value == "permit") {
        card.layout = CardLayout::Permit;
        card.fields.typeMark = card::kPermitMark;
    } else if (value == "foreign") {
        card.layout = CardLayout::Foreign;
        card.fields.typeMark = u'I';
    } else {
        return false;
    }
    return true;
}

bool SetPhoto(SampleCard& card, std::string_view value) {
    std::uint32_t seed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
    if (error != std::errc() || end != value.data() + value.size() || value.empty()) return false;
    card.photoSeed = seed;
    return true;
}

// The text field a key names; null for a key that is not a text field.
std::u16string* TextField(SampleCard& card, std::string_view key) {
    card::CardFields& f = card.fields;
    if (key == "name") return &f.name;
    if (key == "sex") return &f.sexCode;
    if (key == "nation") return &f.nationCode;
    if (key == "birth") return &f.birthDate;
    if (key == "address") return &f.address;
    if (key == "id") return &f.idNumber;
    if (key == "authority") return &f.authority;
    if (key == "valid_from") return &f.validFrom;
    if (key == "valid_until") return &f.validUntil;
    if (key == "english_name") return &card.englishName;
    if (key == "nationality") return &card.nationality;
    if (key == "version") return &card.version;
    if (key == "authority_code") return &card.authorityCode;
    return nullptr;
}

bool TakeLine(SampleCard& card, std::string_view line, int number, std::string* error) {
    const std::string where = "line " + std::to_string(number) + ": ";
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return Fail(error, where + "no '='");
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    if (key == "layout") return SetLayout(card, value) || Fail(error, where + "unknown layout");
    if (key == "photo") return SetPhoto(card, value) || Fail(error, where + "photo takes a number");
    std::u16string* field = TextField(card, key);
    if (!field) return Fail(error, where + "unknown key '" + std::string(key) + "'");
    *field = platform::Utf8ToUtf16(value);
    return true;
}

}  // namespace

std::optional<SampleCard> ParseSampleCard(std::string_view text, std::string* error) {
    SampleCard card;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (!TakeLine(card, line, number, error)) return std::nullopt;
    }
    return card;
}

std::vector<std::uint8_t> SamplePhoto(std::uint32_t seed) {
    // xorshift32; the seed is spread first so that neighbouring seeds give unrelated bytes,
    // and it never starts at 0, where xorshift stays.
    std::uint32_t state = seed * 2654435761u + 0x9E3779B9u;
    if (state == 0) state = 1;
    std::vector<std::uint8_t> photo(card::kPhotoSize);
    for (std::uint8_t& byte : photo) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return photo;
}

}  // namespace emulator
