// What the emulated card module answers: the sample cards as the reader interface will see
// them, and every fault as a host will meet it.
#include "module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace emulator {
namespace {

using sam::FrameReader;

SampleCard Card(const std::string& name) {
    std::ifstream file(std::string(ORVIA_READER_CARDS_DIR) + "/" + name + ".card", std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    const auto card = ParseSampleCard(text.str(), &error);
    EXPECT_TRUE(card.has_value()) << name << ": " << error;
    return card.value_or(SampleCard{});
}

// The frames a host would find in `bytes`, and how many damaged ones it dropped.
struct Heard {
    std::vector<sam::Frame> frames;
    int damaged = 0;
};

Heard Hear(const std::vector<std::uint8_t>& bytes) {
    FrameReader reader(sam::Direction::Reply);
    reader.Feed(bytes);
    Heard heard;
    for (FrameReader::Status status; (status = reader.Next()) != FrameReader::Status::NeedMore;) {
        if (status == FrameReader::Status::Frame)
            heard.frames.push_back(reader.Take());
        else
            ++heard.damaged;
    }
    return heard;
}

// The one sound frame in a response; a failure when there is not exactly one.
sam::Frame OnlyFrame(const Response& response) {
    const Heard heard = Hear(response.bytes);
    EXPECT_EQ(heard.frames.size(), 1u);
    EXPECT_EQ(heard.damaged, 0);
    return heard.frames.empty() ? sam::Frame{} : heard.frames.front();
}

std::optional<card::CardFields> ReadCard(Module& module, const SampleCard& card) {
    const sam::Frame reply = OnlyFrame(module.Answer(sam::kReadTextAndPhoto, &card, {}));
    EXPECT_EQ(reply.Sw3(), sam::kSuccess);
    if (reply.data.size() != 4 + card::kTextBlockSize + card::kPhotoSize) {
        ADD_FAILURE() << "read reply of " << reply.data.size() << " bytes";
        return std::nullopt;
    }
    EXPECT_EQ((std::vector<std::uint8_t>{reply.data.begin(), reply.data.begin() + 4}),
              (std::vector<std::uint8_t>{0x01, 0x00, 0x04, 0x00}))
        << "text and photo lengths, big-endian";
    const std::vector<std::uint8_t> photo(reply.data.end() - card::kPhotoSize, reply.data.end());
    EXPECT_EQ(photo, SamplePhoto(card.photoSeed));
    return card::ParseTextBlock(std::span(reply.data).subspan(4, card::kTextBlockSize));
}

TEST(SampleCards, ReachTheReaderInterfaceAsWritten) {
    Module module;
    const auto zhangsan = ReadCard(module, Card("zhangsan"));
    ASSERT_TRUE(zhangsan.has_value());
    EXPECT_EQ(zhangsan->name, u"张三");
    EXPECT_EQ(zhangsan->idNumber, u"110101199003071234");
    EXPECT_EQ(zhangsan->validUntil, u"20350101");
    EXPECT_EQ(zhangsan->typeMark, u' ');

    const auto permit = ReadCard(module, Card("permit"));
    ASSERT_TRUE(permit.has_value());
    EXPECT_EQ(permit->typeMark, u'J');
    EXPECT_EQ(permit->nationCode, u"") << "a permit names no nation";

    const auto longterm = ReadCard(module, Card("longterm"));
    ASSERT_TRUE(longterm.has_value());
    EXPECT_EQ(longterm->validUntil, u"长期");

    // The card file's trailing spaces become padding; the name's own space stays, and the
    // fields that fill their width arrive whole.
    const auto padded = ReadCard(module, Card("padded"));
    ASSERT_TRUE(padded.has_value());
    EXPECT_EQ(padded->name, u"阿卜杜热合曼·买买提 艾力");
    EXPECT_EQ(padded->address.size(), 35u);
    EXPECT_EQ(padded->authority, u"新疆乌鲁木齐市公安局天山区分局");
    EXPECT_EQ(padded->idNumber, u"65010219951231001X");

    EXPECT_FALSE(ReadCard(module, Card("foreign")).has_value()) << "the 'I' layout must not read as a resident card";
}

TEST(SampleCards, ForeignLayoutPutsItsFieldsWhereThatLayoutHasThem) {
    Module module;
    const SampleCard foreign = Card("foreign");
    const sam::Frame reply = OnlyFrame(module.Answer(sam::kReadTextAndPhoto, &foreign, {}));
    ASSERT_GE(reply.data.size(), 4 + card::kTextBlockSize);
    const auto text = std::span(reply.data).subspan(4, card::kTextBlockSize);
    auto at = [&](std::size_t offset, std::size_t chars) {
        std::u16string s;
        for (std::size_t i = 0; i < chars; ++i)
            s.push_back(static_cast<char16_t>(text[offset + 2 * i] | (text[offset + 2 * i + 1] << 8)));
        return s;
    };
    EXPECT_EQ(at(0, 10), u"SMITH JOHN");
    EXPECT_EQ(at(122, 15), u"USA110079060501");
    EXPECT_EQ(at(158, 2), u"约翰");
    EXPECT_EQ(at(220, 8), u"19790605");
    EXPECT_EQ(at(248, 1), u"I");
}

TEST(SampleCards, FileFormatErrorsAreNamed) {
    std::string error;
    EXPECT_FALSE(ParseSampleCard("name=a\nnmae=b\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_NE(error.find("nmae"), std::string::npos) << error;
    EXPECT_FALSE(ParseSampleCard("layout=martian\n", &error));
    EXPECT_FALSE(ParseSampleCard("photo=x\n", &error));
    EXPECT_FALSE(ParseSampleCard("just text\n", &error));
    // Comments, blank lines and CR LF line ends are fine; a value keeps its '=' and spaces.
    const auto card = ParseSampleCard("# c\r\n\r\nname= a=b \r\nphoto=7\r\n", &error);
    ASSERT_TRUE(card.has_value()) << error;
    EXPECT_EQ(card->fields.name, u" a=b ");
    EXPECT_EQ(card->photoSeed, 7u);
}

TEST(SampleCards, PhotosDifferBySeed) {
    EXPECT_EQ(SamplePhoto(1).size(), card::kPhotoSize);
    EXPECT_EQ(SamplePhoto(1), SamplePhoto(1));
    EXPECT_NE(SamplePhoto(1), SamplePhoto(2));
    // Not one repeated byte: a reader that mixed up or dropped bytes would show.
    const auto photo = SamplePhoto(1);
    EXPECT_GT(std::count_if(photo.begin() + 1, photo.end(), [&](std::uint8_t b) { return b != photo.front(); }), 900);
}

TEST(HealthyModule, AnswersEveryRequestItKnows) {
    Module module;
    const SampleCard card = Card("zhangsan");
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kModuleStatus, nullptr, {})).Sw3(), sam::kSuccess);
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kResetModule, nullptr, {})).Sw3(), sam::kSuccess);
    const sam::Frame id = OnlyFrame(module.Answer(sam::kReadModuleId, nullptr, {}));
    EXPECT_EQ(id.Sw3(), sam::kSuccess);
    EXPECT_EQ(id.data.size(), 16u);

    const sam::Frame found = OnlyFrame(module.Answer(sam::kFindCard, &card, {}));
    EXPECT_EQ(found.Sw3(), sam::kCardFound);
    EXPECT_EQ(found.data, std::vector<std::uint8_t>(4));
    const sam::Frame selected = OnlyFrame(module.Answer(sam::kSelectCard, &card, {}));
    EXPECT_EQ(selected.Sw3(), sam::kSuccess);
    EXPECT_EQ(selected.data, std::vector<std::uint8_t>(8));
    // The card stays on the reader: found again after a read.
    ASSERT_TRUE(ReadCard(module, card).has_value());
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kFindCard, &card, {})).Sw3(), sam::kCardFound);

    // The whole read reply is the 1295 bytes the protocol gives.
    EXPECT_EQ(module.Answer(sam::kReadTextAndPhoto, &card, {}).bytes.size(), 1295u);

    EXPECT_EQ(OnlyFrame(module.Answer({0x30, 0x10}, &card, {})).Sw3(), sam::kUnknownCommand);
    EXPECT_EQ(OnlyFrame(module.Answer({0x61, 0x00}, &card, {})).Sw3(), sam::kUnknownCommand);
    EXPECT_EQ(OnlyFrame(module.AnswerDamaged(FrameReader::Status::BadChecksum, {})).Sw3(), sam::kRequestChecksumError);
    EXPECT_EQ(OnlyFrame(module.AnswerDamaged(FrameReader::Status::BadLength, {})).Sw3(), sam::kRequestLengthError);
}

TEST(HealthyModule, WithoutACardFindSelectAndReadFail) {
    Module module;
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kFindCard, nullptr, {})).Sw3(), sam::kNoCard);
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kSelectCard, nullptr, {})).Sw3(), sam::kSelectFailed);
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kReadTextAndPhoto, nullptr, {})).Sw3(), sam::kReadFailed);
}

Fault Parsed(std::string_view text) {
    const auto fault = ParseFault(text);
    EXPECT_TRUE(fault.has_value()) << text;
    return fault.value_or(Fault{});
}

TEST(Faults, ParseByModeAndRequest) {
    EXPECT_EQ(Parsed("").mode, FaultMode::None);
    EXPECT_EQ(Parsed(" none\n").mode, FaultMode::None);
    const Fault silentRead = Parsed("silent@read\n");
    EXPECT_EQ(silentRead.mode, FaultMode::Silent);
    EXPECT_TRUE(silentRead.Spoils(sam::kReadTextAndPhoto));
    EXPECT_FALSE(silentRead.Spoils(sam::kFindCard));
    EXPECT_FALSE(silentRead.Spoils(std::nullopt));
    const Fault everything = Parsed("unplug-after");
    EXPECT_TRUE(everything.Spoils(sam::kModuleStatus));
    EXPECT_TRUE(everything.Spoils(std::nullopt));
    for (const char* bad : {"loud", "silent@", "silent@write", "removed@find", "none@read", "silent read"})
        EXPECT_FALSE(ParseFault(bad).has_value()) << bad;
}

TEST(Faults, SpoilOnlyTheRequestsTheyName) {
    Module module;
    const SampleCard card = Card("zhangsan");

    // The card leaves after select: find and select still answer.
    const Fault removed = Parsed("removed");
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kFindCard, &card, removed)).Sw3(), sam::kCardFound);
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kSelectCard, &card, removed)).Sw3(), sam::kSuccess);
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kReadTextAndPhoto, &card, removed)).Sw3(), sam::kReadFailed);

    const Fault badRead = Parsed("bad-checksum@read");
    EXPECT_EQ(OnlyFrame(module.Answer(sam::kFindCard, &card, badRead)).Sw3(), sam::kCardFound);
    const Heard spoilt = Hear(module.Answer(sam::kReadTextAndPhoto, &card, badRead).bytes);
    EXPECT_TRUE(spoilt.frames.empty());
    EXPECT_EQ(spoilt.damaged, 1);

    const Response silent = module.Answer(sam::kModuleStatus, &card, Parsed("silent"));
    EXPECT_TRUE(silent.bytes.empty());
    EXPECT_FALSE(silent.noise || silent.unplug);
}

TEST(Faults, GarbageComesBeforeASoundReplyAndNoiseHoldsNone) {
    Module module;
    const SampleCard card = Card("zhangsan");
    for (int i = 0; i < 200; ++i) {
        const Response garbage = module.Answer(sam::kReadTextAndPhoto, &card, Parsed("garbage"));
        const Heard heard = Hear(garbage.bytes);
        ASSERT_EQ(heard.frames.size(), 1u) << "run " << i;
        EXPECT_EQ(heard.frames.front().Sw3(), sam::kSuccess);
        EXPECT_GT(garbage.bytes.size(), 1295u);

        const Response noise = module.Answer(sam::kModuleStatus, &card, Parsed("noise"));
        EXPECT_TRUE(noise.noise);
        // Bursts follow one another on the line: together they must not make a frame.
        std::vector<std::uint8_t> line = noise.bytes;
        for (int burst = 0; burst < 5; ++burst) {
            const auto more = module.StrayBytes();
            line.insert(line.end(), more.begin(), more.end());
        }
        const auto preamble = std::search(line.begin(), line.end(), sam::kPreamble.begin(), sam::kPreamble.end());
        EXPECT_EQ(preamble, line.end()) << "run " << i;
    }
}

TEST(Faults, UnplugSendsHalfAFrameUnplugAfterAWholeOne) {
    Module module;
    const SampleCard card = Card("zhangsan");
    const Response half = module.Answer(sam::kReadTextAndPhoto, &card, Parsed("unplug@read"));
    EXPECT_TRUE(half.unplug);
    EXPECT_EQ(half.bytes.size(), 1295u / 2);
    EXPECT_TRUE(Hear(half.bytes).frames.empty());

    const Response whole = module.Answer(sam::kReadTextAndPhoto, &card, Parsed("unplug-after@read"));
    EXPECT_TRUE(whole.unplug);
    EXPECT_EQ(OnlyFrame(whole).Sw3(), sam::kSuccess);
    EXPECT_FALSE(module.Answer(sam::kFindCard, &card, Parsed("unplug-after@read")).unplug);
}

}  // namespace
}  // namespace emulator
