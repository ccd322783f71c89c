// When the reader's owner reads the card it finds on the reader. A card laid down is read at
// once. A card read before and lying there since is read again when the owner may have missed
// a swap: after a pause of the watch (a box was open), after a gap between two looks longer
// than two intervals (the watch did not run), and every few seconds anyway, since neither our
// components nor the makers' libraries tell a card already read from a new one lying in its
// place. A read again names a trainee only when its ID number differs.
// Portable: the owner's thread feeds it the looks and the reads, with their times.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace reader {

class LookRule {
public:
    using Clock = std::chrono::steady_clock;

    struct Timing {
        Clock::duration lookInterval;
        Clock::duration readAgainEvery;
    };
    // What to do after a look.
    enum class Step {
        Nothing,      // the reader is as it was
        ReadNew,      // a card has been laid down
        ReadAgain,    // a card lies there since its read: it may be another one now
        CardRemoved,  // the card read before has been taken away
    };

    explicit LookRule(Timing timing) : timing_(timing) {}

    // The watch paused: whatever lay on the reader may have been swapped meanwhile.
    void Paused() { mayBeSwapped_ = true; }

    // A look at `now` found a card on the reader, or none.
    Step AfterLook(bool found, Clock::time_point now);

    // A read made at `now` (after `step`, or asked by a press: ReadNew) gave `idNumber`, or
    // failed (nullopt). True when the read names a card: a card laid down, or one whose ID
    // number differs from the card read before.
    bool AfterRead(Step step, const std::optional<std::string_view>& idNumber, Clock::time_point now);

private:
    Timing timing_;
    bool lying_ = false;         // the card read last lies there since
    bool mayBeSwapped_ = false;  // read the lying card again at the next look
    std::optional<Clock::time_point> lastLook_;
    Clock::time_point lastRead_{};
    std::string lastIdNumber_;
};

}  // namespace reader
