// The card module's frame codec: the protocol's worked frames byte for byte, and a reader
// that finds frames in a stream cut anywhere, among garbage and damaged frames.
#include "sam_base_message.h"
#include "sam_frame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = sam::FrameReader::Status;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Every status Next() reports until NeedMore.
std::vector<Status> Drain(sam::FrameReader& reader, std::vector<sam::Frame>* frames = nullptr) {
    std::vector<Status> seen;
    for (Status status; (status = reader.Next()) != Status::NeedMore;) {
        seen.push_back(status);
        if (status == Status::Frame && frames) frames->push_back(reader.Take());
    }
    return seen;
}

TEST(SamFrame, RequestsAreTheProtocolsWorkedExamples) {
    EXPECT_EQ(sam::BuildRequest(sam::kModuleStatus), (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x11, 0xFF, 0xED}));
    EXPECT_EQ(sam::BuildRequest(sam::kFindCard), (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x20, 0x01, 0x22}));
    EXPECT_EQ(sam::BuildRequest(sam::kSelectCard), (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x20, 0x02, 0x21}));
    EXPECT_EQ(sam::BuildRequest(sam::kReadTextAndPhoto),
              (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x30, 0x01, 0x32}));
}

TEST(SamFrame, RepliesCountHeadDataAndChecksumInTheirLength) {
    // 00 04 | 00 00 90 | 94: the XOR of the length and the head.
    EXPECT_EQ(sam::BuildReply(sam::kSuccess), (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x04, 0x00, 0x00, 0x90, 0x94}));
    const Bytes found = sam::BuildReply(sam::kCardFound, Bytes{0, 0, 0, 0});
    EXPECT_EQ(found, (Bytes{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x08, 0x00, 0x00, 0x9F, 0, 0, 0, 0, 0x97}));
    EXPECT_EQ(sam::Checksum(Bytes{0x00, 0x03, 0x11, 0xFF}), 0xED);
}

TEST(SamFrame, ReaderGivesBackWhatWasBuiltInBothDirections) {
    sam::FrameReader requests(sam::Direction::Request);
    requests.Feed(sam::BuildRequest(sam::kSelectCard, Bytes{7, 8}));
    ASSERT_EQ(requests.Next(), Status::Frame);
    const sam::Frame request = requests.Take();
    EXPECT_EQ(request.AsCommand(), sam::kSelectCard);
    EXPECT_EQ(request.data, (Bytes{7, 8}));

    // Preamble bytes inside the data are data: the length decides where a frame ends.
    const Bytes data{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03};
    sam::FrameReader replies(sam::Direction::Reply);
    replies.Feed(sam::BuildReply(sam::kNoCard, data));
    ASSERT_EQ(replies.Next(), Status::Frame);
    const sam::Frame reply = replies.Take();
    EXPECT_EQ(reply.Sw3(), sam::kNoCard);
    EXPECT_EQ(reply.data, data);
    EXPECT_EQ(replies.Next(), Status::NeedMore);
    EXPECT_EQ(replies.Pending(), 0u);
}

TEST(SamFrame, DamagedFramesAreReportedAndNeverTakenForFrames) {
    Bytes badChecksum = sam::BuildReply(sam::kSuccess, Bytes{1, 2, 3});
    badChecksum.back() ^= 0x01;
    Bytes flippedData = sam::BuildReply(sam::kSuccess, Bytes{1, 2, 3});
    flippedData[10] ^= 0x40;
    for (const Bytes& damaged : {badChecksum, flippedData}) {
        sam::FrameReader reader(sam::Direction::Reply);
        reader.Feed(damaged);
        EXPECT_EQ(Drain(reader), std::vector<Status>{Status::BadChecksum});
    }

    // Lengths no frame of this direction can have: shorter than head + checksum, or huge.
    for (const Bytes& length : {Bytes{0x00, 0x00}, Bytes{0x00, 0x03}, Bytes{0xFF, 0xFF}, Bytes{0x10, 0x01}}) {
        sam::FrameReader reader(sam::Direction::Reply);
        reader.Feed(Concat({Bytes(sam::kPreamble.begin(), sam::kPreamble.end()), length}));
        EXPECT_EQ(reader.Missing(), 0u) << "nothing to wait for";
        EXPECT_EQ(Drain(reader), std::vector<Status>{Status::BadLength});
    }
    // Three bytes are a whole request (CMD PARA CHK) but too short for a reply.
    sam::FrameReader requests(sam::Direction::Request);
    requests.Feed(sam::BuildRequest(sam::kModuleStatus));
    EXPECT_EQ(requests.Next(), Status::Frame);
}

TEST(SamFrame, ReaderFindsTheFrameAfterGarbageAndAfterABadFrame) {
    const Bytes good = sam::BuildReply(sam::kCardFound, Bytes{0, 0, 0, 0});
    Bytes bad = sam::BuildReply(sam::kSuccess, Bytes{9});
    bad.back() ^= 0xFF;
    // Garbage full of preamble beginnings, a damaged frame, a preamble with an impossible
    // length, and a false preamble whose length reaches into the good frame behind it.
    const Bytes garbage{0x00, 0xAA, 0xAA, 0x96, 0xAA, 0xAA, 0xAA, 0x96, 0x13, 0x11, 0xAA};
    const Bytes impossible{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x01};
    const Bytes swallowing{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x08, 0x42};
    sam::FrameReader reader(sam::Direction::Reply);
    reader.Feed(Concat({garbage, bad, impossible, swallowing, good, garbage}));
    std::vector<sam::Frame> frames;
    EXPECT_EQ(Drain(reader, &frames),
              (std::vector<Status>{Status::BadChecksum, Status::BadLength, Status::BadChecksum, Status::Frame}));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Sw3(), sam::kCardFound);
    EXPECT_LT(reader.Pending(), sam::kPreamble.size()) << "garbage is not hoarded";
}

TEST(SamFrame, AFrameFedByteByByteComesOutOnceWhole) {
    Bytes photo(sam::kBasePhotoSize);
    for (std::size_t i = 0; i < photo.size(); ++i) photo[i] = static_cast<std::uint8_t>(i * 7);
    const Bytes text(sam::kBaseTextSize, 0x20);
    const Bytes reply = sam::BuildReply(sam::kSuccess, sam::BuildTextAndPhoto(text, photo));
    ASSERT_EQ(reply.size(), 1295u);
    EXPECT_EQ(reply[5], 0x05);
    EXPECT_EQ(reply[6], 0x08);

    const Bytes stream = Concat({Bytes{0x55, 0xAA}, reply, Bytes{0xAA, 0xAA}});
    sam::FrameReader reader(sam::Direction::Reply);
    std::vector<sam::Frame> frames;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        reader.Feed(std::span(stream).subspan(i, 1));
        const std::vector<Status> seen = Drain(reader, &frames);
        if (!frames.empty() && !seen.empty()) {
            EXPECT_EQ(reader.Consumed(), 2 + reply.size());
        }
        // Once the length has arrived the reader knows exactly how much is still to come.
        if (i >= 2 + 6 && i + 1 < 2 + reply.size()) {
            EXPECT_EQ(reader.Missing(), 2 + reply.size() - (i + 1));
        }
    }
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data.size(), 4 + text.size() + photo.size());
    const auto parts = sam::ParseTextAndPhoto(frames[0].data);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->text, text);
    EXPECT_EQ(parts->photo, photo);
}

TEST(SamFrame, ClearForgetsAHalfFrame) {
    const Bytes reply = sam::BuildReply(sam::kSuccess);
    sam::FrameReader reader(sam::Direction::Reply);
    reader.Feed(std::span(reply).first(8));
    EXPECT_EQ(reader.Next(), Status::NeedMore);
    reader.Clear();
    reader.Feed(reply);
    EXPECT_EQ(Drain(reader), std::vector<Status>{Status::Frame});
}

TEST(SamBaseMessage, LengthsMustAddUpToTheData) {
    const Bytes data = sam::BuildTextAndPhoto(Bytes{1, 2}, Bytes{3});
    EXPECT_EQ(data, (Bytes{0x00, 0x02, 0x00, 0x01, 1, 2, 3}));
    EXPECT_TRUE(sam::ParseTextAndPhoto(data));
    EXPECT_FALSE(sam::ParseTextAndPhoto(std::span(data).first(6)));  // cut short
    Bytes longer = data;
    longer.push_back(0);
    EXPECT_FALSE(sam::ParseTextAndPhoto(longer));
    EXPECT_FALSE(sam::ParseTextAndPhoto(Bytes{0x01, 0x00, 0x04}));  // not even the lengths
    EXPECT_FALSE(sam::ParseTextAndPhoto(Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

}  // namespace
