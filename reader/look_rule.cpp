#include "reader/look_rule.h"

namespace reader {

LookRule::Step LookRule::AfterLook(bool found, Clock::time_point now) {
    const bool gap = lastLook_ && now - *lastLook_ > 2 * timing_.lookInterval;
    lastLook_ = now;
    if (!found) {
        const bool removed = lying_;
        lying_ = false;
        mayBeSwapped_ = false;
        return removed ? Step::CardRemoved : Step::Nothing;
    }
    if (!lying_) return Step::ReadNew;
    if (mayBeSwapped_ || gap || now - lastRead_ >= timing_.readAgainEvery) return Step::ReadAgain;
    return Step::Nothing;
}

bool LookRule::AfterRead(Step step, const std::optional<std::string_view>& idNumber, Clock::time_point now) {
    if (!idNumber) {
        // A card half laid down is tried again at the next look; a card lying there since its
        // read stays the one read until a read says otherwise.
        if (step == Step::ReadAgain) {
            mayBeSwapped_ = true;
        } else {
            lying_ = false;
        }
        return false;
    }
    const bool names = step != Step::ReadAgain || *idNumber != lastIdNumber_;
    lying_ = true;
    mayBeSwapped_ = false;
    lastRead_ = now;
    lastIdNumber_ = std::string(*idNumber);
    return names;
}

}  // namespace reader
