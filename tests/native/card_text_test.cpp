// The card's text block, laid out by hand at the offsets the module uses, read into the
// eight fields of the card text file; layouts this reader does not know are refused.
#include "card_text.h"
#include "sam_base_message.h"
#include "sam_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A block of spaces with `text` written as UCS-2LE at byte `offset`.
void Put(Bytes& block, std::size_t offset, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        block[offset + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        block[offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

Bytes Spaces() {
    Bytes block(256);
    Put(block, 0, std::u16string(128, u' '));
    return block;
}

// A resident card as the module sends it.
Bytes ResidentBlock(std::u16string_view validUntil = u"20350101") {
    Bytes block = Spaces();
    Put(block, 0, u"张三");
    Put(block, 30, u"1");
    Put(block, 32, u"01");
    Put(block, 36, u"19900307");
    Put(block, 52, u"北京市东城区景山前街4号");
    Put(block, 122, u"11010119900307123X");
    Put(block, 158, u"北京市公安局东城分局");
    Put(block, 188, u"20150101");
    Put(block, 204, validUntil);
    return block;
}

std::array<std::u16string, 8> FileFields(const Bytes& block) {
    const auto fields = card::ParseTextBlock(block);
    EXPECT_TRUE(fields);
    return fields ? card::CardFileFields(*fields) : std::array<std::u16string, 8>{};
}

TEST(CardText, BaseMessageReplyGivesTheEightFieldsWithSexAndNationAsText) {
    Bytes photo(1024);
    for (std::size_t i = 0; i < photo.size(); ++i) photo[i] = static_cast<std::uint8_t>(255 - i % 256);
    const Bytes reply = sam::BuildReply(sam::kSuccess, sam::BuildTextAndPhoto(ResidentBlock(), photo));
    ASSERT_EQ(reply.size(), 1295u);
    EXPECT_EQ((Bytes{reply[5], reply[6]}), (Bytes{0x05, 0x08}));
    EXPECT_EQ((Bytes{reply[10], reply[11], reply[12], reply[13]}), (Bytes{0x01, 0x00, 0x04, 0x00}));

    sam::FrameReader reader(sam::Direction::Reply);
    reader.Feed(reply);
    ASSERT_EQ(reader.Next(), sam::FrameReader::Status::Frame);
    const auto parts = sam::ParseTextAndPhoto(reader.Take().data);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->photo, photo);
    const auto fields = card::ParseTextBlock(parts->text);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->sexCode, u"1");
    EXPECT_EQ(fields->nationCode, u"01");
    EXPECT_EQ(card::CardFileFields(*fields), (std::array<std::u16string, 8>{
                                                 u"张三", u"男", u"汉", u"19900307", u"北京市东城区景山前街4号",
                                                 u"11010119900307123X", u"北京市公安局东城分局",
                                                 u"2015.01.01-2035.01.01"}));
}

TEST(CardText, OpenEndedValidityIsKeptInWords) {
    EXPECT_EQ(FileFields(ResidentBlock(u"长期"))[7], u"2015.01.01-长期");
    // Anything but eight digits is passed on as the card holds it.
    EXPECT_EQ(FileFields(ResidentBlock(u"2035010"))[7], u"2015.01.01-2035010");
}

TEST(CardText, OnlyTheSpacesAtAFieldsEndArePadding) {
    Bytes block = ResidentBlock();
    Put(block, 0, u" 阿 依\u3000 ");  // a leading space, an inner one, an ideographic space
    Put(block, 52, std::u16string(35, u'路'));  // a field filled to its last character
    Put(block, 36, u"        ");                  // an empty field
    const auto fields = card::ParseTextBlock(block);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->name, u" 阿 依\u3000");
    EXPECT_EQ(fields->address, std::u16string(35, u'路'));
    EXPECT_EQ(fields->birthDate, u"");
    EXPECT_EQ(fields->idNumber, u"11010119900307123X") << "neighbours untouched";
}

TEST(CardText, ResidencePermitsAreReadAndOtherLayoutsRefused) {
    Bytes permit = ResidentBlock();
    Put(permit, 32, u"  ");  // permits carry no nation
    Put(permit, 248, u"J");
    const auto fields = card::ParseTextBlock(permit);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->typeMark, u'J');
    EXPECT_EQ(card::CardFileFields(*fields)[2], u"");

    for (const char16_t mark : {u'I', u'Y', u'\0', u'j', u'1'}) {
        Bytes foreign = ResidentBlock();
        Put(foreign, 248, std::u16string(1, mark));
        EXPECT_FALSE(card::ParseTextBlock(foreign)) << static_cast<int>(mark);
    }
    const Bytes resident = ResidentBlock();
    EXPECT_FALSE(card::ParseTextBlock(std::span(resident).first(255)));
    EXPECT_FALSE(card::ParseTextBlock({}));
}

TEST(CardText, CodesBecomeWordsAndUnknownCodesStay) {
    EXPECT_EQ(card::SexText(u"0"), u"未知");
    EXPECT_EQ(card::SexText(u"2"), u"女");
    EXPECT_EQ(card::SexText(u"9"), u"未说明");
    EXPECT_EQ(card::SexText(u"3"), u"3");
    EXPECT_EQ(card::NationText(u"05"), u"维吾尔");
    EXPECT_EQ(card::NationText(u"29"), u"柯尔克孜");
    EXPECT_EQ(card::NationText(u"56"), u"基诺");
    EXPECT_EQ(card::NationText(u"97"), u"其他");
    EXPECT_EQ(card::NationText(u"98"), u"外国血统中国籍人士");
    EXPECT_EQ(card::NationText(u"57"), u"57");
    EXPECT_EQ(card::NationText(u"1"), u"1");
    // Every code from 01 to 56 has its own word.
    std::vector<std::u16string> words;
    for (int code = 1; code <= 56; ++code) {
        const std::u16string digits{static_cast<char16_t>(u'0' + code / 10), static_cast<char16_t>(u'0' + code % 10)};
        const std::u16string word = card::NationText(digits);
        EXPECT_NE(word, digits);
        EXPECT_EQ(std::count(words.begin(), words.end(), word), 0) << code;
        words.push_back(word);
    }
}

TEST(CardText, BuiltBlocksMatchTheModulesLayout) {
    card::CardFields fields;
    fields.name = u"张三";
    fields.sexCode = u"1";
    fields.nationCode = u"01";
    fields.birthDate = u"19900307";
    fields.address = u"北京市东城区景山前街4号";
    fields.idNumber = u"11010119900307123X";
    fields.authority = u"北京市公安局东城分局";
    fields.validFrom = u"20150101";
    fields.validUntil = u"20350101";
    EXPECT_EQ(card::BuildTextBlock(fields), ResidentBlock());

    // Values longer than their field are cut at its width and never spill into the next.
    fields.name = std::u16string(20, u'名');
    const auto read = card::ParseTextBlock(card::BuildTextBlock(fields));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, std::u16string(15, u'名'));
    EXPECT_EQ(read->sexCode, u"1");
}

TEST(CardText, LineBreaksAndZerosWouldChangeTheFilesShape) {
    std::array<std::u16string, 8> fields = FileFields(ResidentBlock());
    EXPECT_TRUE(card::FitsCardFile(fields));
    for (const std::u16string& bad : {std::u16string(u"a\rb"), std::u16string(u"a\nb"), std::u16string(u"a\0b", 3)}) {
        std::array<std::u16string, 8> broken = fields;
        broken[4] = bad;
        EXPECT_FALSE(card::FitsCardFile(broken));
    }
}

}  // namespace
