#include "reader/card_watcher.h"

#include "reader/card_file.h"

#include <optional>
#include <utility>

namespace reader {

CardWatcher::~CardWatcher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

int CardWatcher::ScanForReader() { return Started() ? 0 : component_.Initialise(); }

std::string CardWatcher::LoadProblem() { return Started() ? std::string() : component_.LoadProblem(); }

void CardWatcher::Start(ui::Poster window, std::function<void()> outcomesReady, bool watch) {
    if (thread_.joinable()) return;
    window_ = std::move(window);
    outcomesReady_ = std::move(outcomesReady);
    watching_ = watch;
    thread_ = std::thread([this] { Run(); });
}

void CardWatcher::RequestRead() {
    {
        std::lock_guard lock(mutex_);
        readAsked_ = true;
    }
    wake_.notify_all();
}

void CardWatcher::Pause() {
    std::lock_guard lock(mutex_);
    ++paused_;
    pausedSinceLook_ = true;
}

void CardWatcher::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (paused_ > 0 && --paused_ == 0 && !outcomes_.empty()) window_.Post(outcomesReady_);
    }
    wake_.notify_all();
}

std::vector<CardOutcome> CardWatcher::TakeOutcomes() {
    std::lock_guard lock(mutex_);
    return std::exchange(outcomes_, {});
}

void CardWatcher::Announce(CardOutcome outcome) {
    // A reader gone stays gone for this run: the desk goes on without one.
    if (outcome.readerLost || outcome.lookUpsWithoutReader > 0) watching_ = false;
    outcomes_.push_back(std::move(outcome));
    window_.Post(outcomesReady_);
}

void CardWatcher::RequestConfirmation() {
    std::lock_guard lock(mutex_);
    confirmationAsked_ = true;
}

std::optional<CardOutcome> CardWatcher::Read(bool asked, bool confirming, bool selected, bool beep, LookRule& rule,
                                             LookRule::Step step) {
    CardOutcome outcome;
    outcome.asked = asked;
    outcome.read = selected ? component_.ReadSelectedCard(beep) == 1 : component_.ReadCard() == 1;
    // Each lookup reads the card text file afresh; the ID number first, since a card read
    // again that proves the same needs nothing more.
    const auto lookUp = [&](int position) {
        std::optional<std::string> text = component_.CardField(position);
        if (!text) ++outcome.lookUpsWithoutReader;
        return text.value_or(std::string());
    };
    if (outcome.read) outcome.idNumber = lookUp(kIdNumberField);
    const bool names = rule.AfterRead(
        step, outcome.read ? std::optional<std::string_view>(outcome.idNumber) : std::nullopt, LookRule::Clock::now());
    // A look that read nothing new says nothing: a card half laid down is tried again at
    // the next look. A press is always answered.
    if (!asked && (!outcome.read || (!names && !confirming))) return std::nullopt;
    if (outcome.read) outcome.name = lookUp(kNameField);
    return outcome;
}

void CardWatcher::Run() {
    LookRule rule({kLookInterval, kReadAgainEvery});
    int emptyLooks = 0;
    int checksWithoutReader = 0;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (readAsked_) {
            readAsked_ = false;
            lock.unlock();
            std::optional<CardOutcome> outcome =
                Read(/*asked=*/true, /*confirming=*/false, /*selected=*/false, /*beep=*/true, rule,
                     LookRule::Step::ReadNew);
            lock.lock();
            Announce(std::move(*outcome));
            continue;
        }
        if (!watching_ || paused_ > 0) {
            wake_.wait(lock);
            continue;
        }
        if (wake_.wait_for(lock, kLookInterval, [this] { return stop_ || readAsked_ || paused_ > 0 || !watching_; }))
            continue;
        const bool confirming = std::exchange(confirmationAsked_, false);
        if (std::exchange(pausedSinceLook_, false) || confirming) rule.Paused();
        lock.unlock();
        const bool found = component_.SelectCard() == 1;
        const LookRule::Step step = rule.AfterLook(found, LookRule::Clock::now());
        std::optional<CardOutcome> outcome;
        if (step == LookRule::Step::ReadNew || step == LookRule::Step::ReadAgain) {
            // A card read again sounds only when it proves another (the desk beeps then).
            outcome = Read(/*asked=*/false, confirming, /*selected=*/true, /*beep=*/step == LookRule::Step::ReadNew,
                           rule, step);
        } else if (step == LookRule::Step::CardRemoved || (confirming && !found)) {
            outcome = CardOutcome{};
            outcome->removed = true;
        }
        // A card half laid down confirms nothing yet: the next look tries again.
        const bool confirmAgain = confirming && found && !outcome;
        emptyLooks = found ? 0 : emptyLooks + 1;
        if (found) {
            checksWithoutReader = 0;
        } else if (emptyLooks % kLooksPerPresenceCheck == 0) {
            checksWithoutReader = component_.ReaderAnswers() ? 0 : checksWithoutReader + 1;
        }
        if (checksWithoutReader == kChecksBeforeLost && emptyLooks % kLooksPerPresenceCheck == 0) {
            outcome = CardOutcome{};
            outcome->readerLost = true;
        }
        lock.lock();
        if (confirmAgain) confirmationAsked_ = true;
        if (outcome) Announce(std::move(*outcome));
    }
}

}  // namespace reader
