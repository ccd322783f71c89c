#include "platform/gb18030.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {

namespace {

// A run of four-byte codes whose Unicode values go up one by one with the code.
struct FourByteRun {
    std::uint32_t linear;  // of the run's first code, counted from 81 30 81 30
    std::uint16_t unicode;
};

#include "platform/gb18030_tables.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint32_t kBmpLinearEnd = 39420;            // 84 31 A4 39 is the last BMP code
constexpr std::uint32_t kSupplementaryLinear = 189000;    // 90 30 81 30 is U+10000
constexpr std::uint32_t kLinearEnd = kSupplementaryLinear + 0x100000;

bool IsLead(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(std::uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool IsDigit(std::uint8_t b) { return b >= 0x30 && b <= 0x39; }

void AppendFourBytes(std::string& out, std::uint32_t linear) {
    const std::uint32_t b4 = linear % 10;
    linear /= 10;
    const std::uint32_t b3 = linear % 126;
    linear /= 126;
    out += static_cast<char>(0x81 + linear / 10);
    out += static_cast<char>(0x30 + linear % 10);
    out += static_cast<char>(0x81 + b3);
    out += static_cast<char>(0x30 + b4);
}

void AppendBmp(std::string& out, char16_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const auto at = std::lower_bound(kTwoByteInUnicodeOrder.begin(), kTwoByteInUnicodeOrder.end(), c,
                                      [](std::uint16_t index, char16_t u) { return kTwoByteUnicode[index] < u; });
    if (at != kTwoByteInUnicodeOrder.end() && kTwoByteUnicode[*at] == c) {
        out += static_cast<char>(0x81 + *at / 190);
        const unsigned trail = *at % 190;
        out += static_cast<char>(trail < 0x3F ? 0x40 + trail : 0x41 + trail);
        return;
    }
    // The last run that starts at or below c holds it: every other BMP character is in one.
    const auto run = std::upper_bound(kFourByteRuns.begin(), kFourByteRuns.end(), c,
                                      [](char16_t u, const FourByteRun& r) { return u < r.unicode; }) -
                     1;
    AppendFourBytes(out, run->linear + (c - run->unicode));
}

// The character of a four-byte code, or U+FFFD.
char32_t FromLinear(std::uint32_t linear) {
    if (linear < kBmpLinearEnd) {
        const auto run = std::upper_bound(kFourByteRuns.begin(), kFourByteRuns.end(), linear,
                                          [](std::uint32_t l, const FourByteRun& r) { return l < r.linear; }) -
                         1;
        return run->unicode + (linear - run->linear);
    }
    if (linear >= kSupplementaryLinear && linear < kLinearEnd) return 0x10000 + (linear - kSupplementaryLinear);
    return kReplacement;
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace

std::optional<std::string> ToGb18030(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            const bool pair = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (!pair) return std::nullopt;
            const std::uint32_t code = 0x10000 + ((std::uint32_t{c} - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            AppendFourBytes(out, kSupplementaryLinear + (code - 0x10000));
            ++i;
            continue;
        }
        AppendBmp(out, c);
    }
    return out;
}

std::u16string FromGb18030(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    std::u16string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t b1 = bytes[i];
        if (b1 < 0x80) {
            out += static_cast<char16_t>(b1);
            ++i;
        } else if (!IsLead(b1) || i + 1 >= size) {
            out += kReplacement;
            ++i;
        } else if (IsTrail(bytes[i + 1])) {
            const std::uint8_t b2 = bytes[i + 1];
            const unsigned index = (b1 - 0x81u) * 190 + (b2 < 0x7F ? b2 - 0x40u : b2 - 0x41u);
            out += static_cast<char16_t>(kTwoByteUnicode[index]);
            i += 2;
        } else if (IsDigit(bytes[i + 1]) && i + 3 < size && IsLead(bytes[i + 2]) && IsDigit(bytes[i + 3])) {
            const std::uint32_t linear =
                (((b1 - 0x81u) * 10 + (bytes[i + 1] - 0x30u)) * 126 + (bytes[i + 2] - 0x81u)) * 10 + (bytes[i + 3] - 0x30u);
            AppendUtf16(out, FromLinear(linear));
            i += 4;
        } else {
            out += kReplacement;  // a lead byte with no valid partner: the next byte starts afresh
            ++i;
        }
    }
    return out;
}

}  // namespace platform
