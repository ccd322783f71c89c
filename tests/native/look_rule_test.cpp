// When the reader's owner reads a card again: one watch played look by look, each step
// checked against what the desk must see (a card named, or nothing).
#include "reader/look_rule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using reader::LookRule;
using Step = LookRule::Step;
using namespace std::chrono_literals;

constexpr LookRule::Timing kTiming{300ms, 3s};

// A reader with a card (or none) on it, looked at every 300 ms as the owner does.
class Watch {
public:
    // One look; the ID number the desk is told about when the look leads to a read that names
    // a card, "removed" when the card read went away, empty otherwise.
    std::string Look(LookRule::Clock::duration after = 300ms) {
        now_ += after;
        const Step step = rule_.AfterLook(!card_.empty(), now_);
        if (step == Step::CardRemoved) return "removed";
        if (step == Step::Nothing) return {};
        ++reads_;
        const std::optional<std::string_view> read = readFails_ ? std::nullopt : std::optional<std::string_view>(card_);
        return rule_.AfterRead(step, read, now_) ? card_ : std::string();
    }
    LookRule rule_{kTiming};
    std::string card_;
    bool readFails_ = false;
    int reads_ = 0;

private:
    LookRule::Clock::time_point now_{};
};

TEST(LookRule, ACardIsNamedOnceWhileItLiesAndASwapIsFoundHoweverItHappens) {
    Watch w;
    EXPECT_EQ(w.Look(), "");
    w.card_ = "A";
    EXPECT_EQ(w.Look(), "A") << "laid down: read at once";
    for (int i = 0; i < 5; ++i) EXPECT_EQ(w.Look(), "") << "left lying: not named again";
    EXPECT_EQ(w.reads_, 1) << "and not read again before its time";

    // Taken away and laid down again: named again (the desk asks about it again).
    w.card_.clear();
    EXPECT_EQ(w.Look(), "removed");
    EXPECT_EQ(w.Look(), "");
    w.card_ = "A";
    EXPECT_EQ(w.Look(), "A");

    // A pause (a box open): the card lying there afterwards is read; the same one names nothing,
    // another one names its trainee.
    int reads = w.reads_;
    w.rule_.Paused();
    EXPECT_EQ(w.Look(), "");
    EXPECT_EQ(w.reads_, reads + 1);
    w.rule_.Paused();
    w.card_ = "B";
    EXPECT_EQ(w.Look(), "B");

    // Looks further apart than two intervals (the watch did not run): read again.
    w.card_ = "C";
    EXPECT_EQ(w.Look(700ms), "C");

    // A swap faster than one look: found by the slow reading again, within its interval.
    w.card_ = "D";
    std::string named;
    int looks = 0;
    while (named.empty() && looks < 20) {
        named = w.Look();
        ++looks;
    }
    EXPECT_EQ(named, "D");
    EXPECT_LE(looks * 300ms, kTiming.readAgainEvery + 300ms);

    // A read again that fails (the card moved) keeps the card as read and tries at the next
    // look; the same card then names nothing.
    reads = w.reads_;
    w.rule_.Paused();
    w.readFails_ = true;
    EXPECT_EQ(w.Look(), "");
    w.readFails_ = false;
    EXPECT_EQ(w.Look(), "");
    EXPECT_EQ(w.reads_, reads + 2);

    // A card half laid down (its first read fails) is read at the next look and named then.
    w.card_.clear();
    EXPECT_EQ(w.Look(), "removed");
    w.card_ = "E";
    w.readFails_ = true;
    EXPECT_EQ(w.Look(), "");
    w.readFails_ = false;
    EXPECT_EQ(w.Look(), "E");
}

}  // namespace
