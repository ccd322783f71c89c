// Reading fields 1 and 6 out of the card text file's bytes.
#include "reader/card_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using reader::CardFileField;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Eight fields as the reader component writes them; 张三 in code page 936 is D5 C5 C8 FD.
const std::string kCard =
    "\xD5\xC5\xC8\xFD\r\n\xC4\xD0\r\n\xBA\xBA\r\n19900307\r\naddress\r\n110101199003071234\r\nauthority\r\n"
    "2015.01.01-2035.01.01";

TEST(CardFile, NameAndIdNumberAreFieldsOneAndSix) {
    EXPECT_EQ(CardFileField(Bytes(kCard), reader::kNameField), "\xD5\xC5\xC8\xFD");
    EXPECT_EQ(CardFileField(Bytes(kCard), reader::kIdNumberField), "110101199003071234");
    EXPECT_EQ(CardFileField(Bytes(kCard), 8), "2015.01.01-2035.01.01");
}

TEST(CardFile, FieldsComeBackUntrimmed) {
    const std::string padded = "Li Si  \r\n1\r\n01\r\n19900307\r\n \r\n11010119900307123X \r\n\r\nv";
    EXPECT_EQ(CardFileField(Bytes(padded), 1), "Li Si  ");
    EXPECT_EQ(CardFileField(Bytes(padded), 6), "11010119900307123X ");
    EXPECT_EQ(CardFileField(Bytes(padded), 7), "");  // an empty field between two breaks counts
}

TEST(CardFile, AFinalLineBreakStartsNoField) {
    EXPECT_EQ(CardFileField(Bytes(kCard + "\r\n"), 1), "\xD5\xC5\xC8\xFD");
    EXPECT_EQ(CardFileField(Bytes(kCard + "\r\n"), 8), "2015.01.01-2035.01.01");
    // A second break is an empty ninth field.
    EXPECT_EQ(CardFileField(Bytes(kCard + "\r\n\r\n"), 1), "");
}

TEST(CardFile, AnyOtherFieldCountGivesEmptyFields) {
    const std::string seven = kCard.substr(0, kCard.rfind("\r\n"));
    const std::string nine = kCard + "\r\nextra";
    for (const std::string& text : {seven, nine, std::string(), std::string("\r\n"), std::string("one line")}) {
        EXPECT_EQ(CardFileField(Bytes(text), 1), "") << text;
        EXPECT_EQ(CardFileField(Bytes(text), 6), "") << text;
    }
    // The identity such a file gives is "_" alone.
    EXPECT_EQ(CardFileField(Bytes(seven), 1) + "_" + CardFileField(Bytes(seven), 6), "_");
}

TEST(CardFile, BytesAfterAZeroByteAreIgnored) {
    std::vector<std::uint8_t> bytes = Bytes(kCard);
    bytes.push_back(0);
    const auto extra = Bytes("\r\nninth\r\ntenth");
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    EXPECT_EQ(CardFileField(bytes, 6), "110101199003071234");

    // A zero inside the fields cuts the file short of eight.
    std::vector<std::uint8_t> cut = Bytes(kCard);
    cut[kCard.find("address")] = 0;
    EXPECT_EQ(CardFileField(cut, 1), "");
}

TEST(CardFile, LoneCarriageReturnsAndLineFeedsDoNotSplit) {
    const std::string text = "a\rb\r\n2\r\n3\r\n4\r\n5\r\nc\nd\r\n7\r\n8";
    EXPECT_EQ(CardFileField(Bytes(text), 1), "a\rb");
    EXPECT_EQ(CardFileField(Bytes(text), 6), "c\nd");
}

TEST(CardFile, PositionsOutsideTheFileGiveEmptyText) {
    EXPECT_EQ(CardFileField(Bytes(kCard), 0), "");
    EXPECT_EQ(CardFileField(Bytes(kCard), 9), "");
    EXPECT_EQ(CardFileField(Bytes(kCard), -1), "");
}

}  // namespace
