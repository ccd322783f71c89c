// One command and its reply over a scripted line: what the module sends back after each
// request is written out in advance, and the line keeps its own clock, so silence, endless
// garbage and cut-off frames end the exchange without any real waiting.
#include "sam_exchange.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// The module's answer to one request: bytes that arrive (in pieces of at most `piece`
// bytes per Receive), then either silence or garbage for ever.
struct Answer {
    Bytes bytes;
    bool garbageForever = false;
};

class ScriptedLine final : public sam::Line {
public:
    std::deque<Answer> answers;  // one per request, in order; silence when none is left
    bool sendFails = false;
    bool receiveFails = false;
    std::size_t piece = 5;

    std::vector<Bytes> sent;
    int receives = 0;
    sam::Clock::time_point lastDeadlineAskedFor{};

    bool Send(std::span<const std::uint8_t> bytes) override {
        if (sendFails) return false;
        sent.emplace_back(bytes.begin(), bytes.end());
        current_ = answers.empty() ? Answer{} : std::move(answers.front());
        if (!answers.empty()) answers.pop_front();
        incoming_.insert(incoming_.end(), current_.bytes.begin(), current_.bytes.end());
        return true;
    }

    std::optional<std::size_t> Receive(std::span<std::uint8_t> into, std::chrono::milliseconds wait) override {
        ++receives;
        lastDeadlineAskedFor = std::max(lastDeadlineAskedFor, now_ + wait);
        if (receiveFails) return std::nullopt;
        if (incoming_.empty() && current_.garbageForever) {
            for (int i = 0; i < 7; ++i) incoming_.push_back(static_cast<std::uint8_t>(0xAA ^ (i * 37)));
        }
        if (incoming_.empty()) {
            now_ += wait;  // silence lasts the whole wait
            return 0;
        }
        const std::size_t count = std::min({into.size(), piece, incoming_.size()});
        for (std::size_t i = 0; i < count; ++i) {
            into[i] = incoming_.front();
            incoming_.pop_front();
        }
        now_ += 1ms;
        return count;
    }

    void DropInput() override {
        // Only what came before the request can be dropped: the answer follows it.
        incoming_.clear();
    }

    sam::Clock::time_point Now() const override { return now_; }

    sam::Clock::time_point Start() const { return start_; }

    // Bytes that are there before the next request is sent.
    void Arrive(const Bytes& bytes) { incoming_.insert(incoming_.end(), bytes.begin(), bytes.end()); }

private:
    std::deque<std::uint8_t> incoming_;
    Answer current_;
    sam::Clock::time_point start_ = sam::Clock::time_point{} + 1h;
    sam::Clock::time_point now_ = start_;
};

Bytes Damaged(Bytes frame) {
    frame.back() ^= 0x5A;
    return frame;
}

Bytes Concat(const Bytes& a, const Bytes& b) {
    Bytes all = a;
    all.insert(all.end(), b.begin(), b.end());
    return all;
}

const Bytes kCardFound = sam::BuildReply(sam::kCardFound, Bytes{0, 0, 0, 0});

TEST(SamExchange, ReplyArrivesInPiecesBehindGarbage) {
    ScriptedLine line;
    line.piece = 3;
    line.answers.push_back({Concat(Bytes{0x13, 0x11, 0xAA, 0xAA}, kCardFound)});
    const sam::Exchange exchange = sam::Transact(line, sam::kFindCard, 200ms);
    ASSERT_EQ(exchange.outcome, sam::Outcome::Reply);
    EXPECT_EQ(exchange.reply.Sw3(), sam::kCardFound);
    EXPECT_EQ(exchange.reply.data, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(line.sent, std::vector<Bytes>{sam::BuildRequest(sam::kFindCard)});
}

TEST(SamExchange, AnEarlierCommandsLateReplyIsNotTakenForThisOne) {
    ScriptedLine line;
    line.Arrive(sam::BuildReply(sam::kNoCard));  // came after its command had given up
    line.answers.push_back({kCardFound});
    const sam::Exchange exchange = sam::Transact(line, sam::kFindCard, 200ms);
    ASSERT_EQ(exchange.outcome, sam::Outcome::Reply);
    EXPECT_EQ(exchange.reply.Sw3(), sam::kCardFound);
}

TEST(SamExchange, SilenceGarbageAndACutFrameEndAtTheTimeLimit) {
    const Bytes cut = Bytes(kCardFound.begin(), kCardFound.begin() + 9);
    for (const Answer& answer : {Answer{}, Answer{{}, true}, Answer{cut}, Answer{Bytes{0x00, 0x11}, true}}) {
        ScriptedLine line;
        line.answers.push_back(answer);
        const sam::Exchange exchange = sam::Transact(line, sam::kModuleStatus, 300ms);
        EXPECT_EQ(exchange.outcome, sam::Outcome::NoReply);
        EXPECT_EQ(line.sent.size(), 1u) << "silence is not asked again";
        // No wait asked of the line reaches past the command's limit.
        EXPECT_LE(line.lastDeadlineAskedFor, line.Start() + 300ms);
    }
}

TEST(SamExchange, ADamagedReplyIsAskedForOnceMore) {
    ScriptedLine repaired;
    repaired.answers.push_back({Damaged(kCardFound)});
    repaired.answers.push_back({kCardFound});
    const sam::Exchange exchange = sam::Transact(repaired, sam::kFindCard, 200ms);
    ASSERT_EQ(exchange.outcome, sam::Outcome::Reply);
    EXPECT_EQ(exchange.reply.Sw3(), sam::kCardFound);
    EXPECT_EQ(repaired.sent.size(), 2u);

    ScriptedLine broken;
    broken.answers.push_back({Damaged(kCardFound)});
    broken.answers.push_back({Damaged(kCardFound)});
    broken.answers.push_back({kCardFound});
    EXPECT_EQ(sam::Transact(broken, sam::kFindCard, 200ms).outcome, sam::Outcome::CorruptReply);
    EXPECT_EQ(broken.sent.size(), 2u) << "one retry, not more";
    EXPECT_LE(broken.lastDeadlineAskedFor, broken.Start() + 200ms) << "the retry shares the command's limit";

    // A damaged reply that completes only at the limit leaves no time to ask again.
    ScriptedLine late;
    late.piece = 5;
    late.answers.push_back({Damaged(kCardFound)});  // 15 bytes in four pieces, 1 ms each
    late.answers.push_back({kCardFound});
    EXPECT_EQ(sam::Transact(late, sam::kFindCard, 4ms).outcome, sam::Outcome::CorruptReply);
    EXPECT_EQ(late.sent.size(), 1u);

    // The module saying our request arrived damaged counts the same.
    ScriptedLine garbled;
    garbled.answers.push_back({sam::BuildReply(sam::kRequestChecksumError)});
    garbled.answers.push_back({kCardFound});
    EXPECT_EQ(sam::Transact(garbled, sam::kFindCard, 200ms).reply.Sw3(), sam::kCardFound);
}

TEST(SamExchange, AGoodFrameRightBehindADamagedOneIsTaken) {
    ScriptedLine line;
    line.piece = 64;
    line.answers.push_back({Concat(Damaged(sam::BuildReply(sam::kSuccess)), kCardFound)});
    const sam::Exchange exchange = sam::Transact(line, sam::kFindCard, 200ms);
    ASSERT_EQ(exchange.outcome, sam::Outcome::Reply);
    EXPECT_EQ(exchange.reply.Sw3(), sam::kCardFound);
    EXPECT_EQ(line.sent.size(), 1u);
}

TEST(SamExchange, ALineThatFailsEndsTheExchangeAtOnce) {
    ScriptedLine unplugged;
    unplugged.sendFails = true;
    EXPECT_EQ(sam::Transact(unplugged, sam::kModuleStatus, 300ms).outcome, sam::Outcome::SendFailed);
    EXPECT_EQ(unplugged.receives, 0);

    ScriptedLine failing;
    failing.receiveFails = true;
    EXPECT_EQ(sam::Transact(failing, sam::kModuleStatus, 300ms).outcome, sam::Outcome::LineFailed);
    EXPECT_EQ(failing.receives, 1);
    EXPECT_EQ(failing.sent.size(), 1u);
}

}  // namespace
