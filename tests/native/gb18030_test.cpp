// Our GB18030 tables against the C library's own GB18030 converter (iconv), character by
// character over the whole Basic Multilingual Plane and across the planes above it.
#include "platform/gb18030.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

namespace {

using platform::FromGb18030;
using platform::ToGb18030;

// iconv's GB18030 bytes of one character given as UTF-32, or nullopt where it has none.
class Reference {
public:
    Reference() : cd_(::iconv_open("GB18030", "UTF-32LE")) {}
    ~Reference() {
        if (Ok()) ::iconv_close(cd_);
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Encode(char32_t c) {
        char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                      static_cast<char>((c >> 16) & 0xFF), static_cast<char>(c >> 24)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = sizeof in, outLeft = sizeof out;
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (::iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t cd_;
};

std::u16string Utf16Of(char32_t c) {
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    c -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

TEST(Gb18030, EveryCharacterHasTheReferenceBytesAndComesBackWhole) {
    Reference reference;
    ASSERT_TRUE(reference.Ok()) << "the C library has no GB18030 converter";
    int compared = 0;
    const auto check = [&](char32_t c) {
        const std::optional<std::string> expected = reference.Encode(c);
        if (!expected) return;  // none in the C library's edition: nothing to compare with
        const std::u16string text = Utf16Of(c);
        const std::optional<std::string> bytes = ToGb18030(text);
        ASSERT_TRUE(bytes) << std::hex << static_cast<unsigned>(c);
        // Editions differ on a handful of private-use and look-alike codes; names never use them.
        const bool editionsDiffer = (c >= 0xE000 && c <= 0xF8FF) || (c >= 0xFE10 && c <= 0xFE19) ||
                                    c == 0x1E3F || c == 0x20AC || (c >= 0x9FB4 && c <= 0x9FBB);
        if (!editionsDiffer) {
            EXPECT_EQ(*bytes, *expected) << std::hex << static_cast<unsigned>(c);
        }
        EXPECT_EQ(FromGb18030(*bytes), text) << std::hex << static_cast<unsigned>(c);
        ++compared;
    };
    for (char32_t c = 0; c < 0x10000; ++c)
        if (c < 0xD800 || c > 0xDFFF) check(c);
    for (char32_t c = 0x10000; c <= 0x10FFFF; c += 0x3F1) check(c);
    check(0x10FFFF);
    EXPECT_GT(compared, 63000);
}

TEST(Gb18030, NamesBeyondGbkKeepTheirCharacters) {
    EXPECT_EQ(ToGb18030(u"王䶮"), "\xCD\xF5\xFE\x9F");              // U+4DAE, two bytes in GB18030
    EXPECT_EQ(ToGb18030(u"\U00020000"), "\x95\x32\x82\x36");        // beyond the BMP: four bytes
    EXPECT_EQ(ToGb18030(u"\uFFFF"), "\x84\x31\xA4\x39");            // the last BMP code
    EXPECT_EQ(ToGb18030(u"张三_110101199003071234"), "\xD5\xC5\xC8\xFD_110101199003071234");
    EXPECT_EQ(FromGb18030("\xCD\xF5\xFE\x9F"), u"王䶮");
    EXPECT_EQ(FromGb18030("\x95\x32\x82\x36\r\n"), u"\U00020000\r\n");
}

TEST(Gb18030, LoneSurrogatesAreNoTextAndBrokenBytesBecomeReplacement) {
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_FALSE(ToGb18030({lone, 3}));
    const char16_t trailing[] = {0xDC00};
    EXPECT_FALSE(ToGb18030({trailing, 1}));

    EXPECT_EQ(FromGb18030("\x80"), u"\uFFFD");                      // no lead byte
    EXPECT_EQ(FromGb18030("\xFF" "a"), u"\uFFFD" "a");
    EXPECT_EQ(FromGb18030("a\xD5"), u"a\uFFFD");                    // cut short at the end
    EXPECT_EQ(FromGb18030("\xD5\r\n"), u"\uFFFD\r\n");              // a line break is never a trail byte
    EXPECT_EQ(FromGb18030("\x95\x32\x82"), u"\uFFFD" "2\uFFFD");    // four bytes cut short
    EXPECT_EQ(FromGb18030("\x84\x31\xA5\x30"), u"\uFFFD");          // between the BMP and U+10000
    EXPECT_EQ(FromGb18030("\xE3\x32\x9A\x36"), u"\uFFFD");          // above U+10FFFF
}

}  // namespace
