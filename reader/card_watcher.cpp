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

void CardWatcher::Start(HWND window, UINT message, bool watch) {
    if (thread_.joinable()) return;
    window_ = window;
    message_ = message;
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
}

void CardWatcher::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (paused_ > 0 && --paused_ == 0 && !outcomes_.empty()) ::PostMessageW(window_, message_, 0, 0);
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
    ::PostMessageW(window_, message_, 0, 0);
}

CardOutcome CardWatcher::Read(bool asked, bool selected) {
    CardOutcome outcome;
    outcome.asked = asked;
    outcome.read = selected ? component_.ReadSelectedCard() == 1 : component_.ReadCard() == 1;
    if (!outcome.read) return outcome;
    // Each lookup scans for the reader again and reads the card text file afresh.
    for (auto [position, field] : {std::pair{kNameField, &outcome.name}, std::pair{kIdNumberField, &outcome.idNumber}}) {
        std::optional<std::string> text = component_.CardField(position);
        if (!text) ++outcome.lookUpsWithoutReader;
        *field = text.value_or(std::string());
    }
    return outcome;
}

void CardWatcher::Run() {
    bool lying = false;  // a card lay on the reader at the last look: it is not read again
    int emptyLooks = 0;
    int checksWithoutReader = 0;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (readAsked_) {
            readAsked_ = false;
            lock.unlock();
            CardOutcome outcome = Read(/*asked=*/true, /*selected=*/false);
            lock.lock();
            lying = outcome.read;
            Announce(std::move(outcome));
            continue;
        }
        if (!watching_ || paused_ > 0) {
            wake_.wait(lock);
            continue;
        }
        if (wake_.wait_for(lock, kLookInterval, [this] { return stop_ || readAsked_ || paused_ > 0 || !watching_; }))
            continue;
        lock.unlock();
        const bool found = component_.SelectCard() == 1;
        std::optional<CardOutcome> outcome;
        if (found && !lying) {
            outcome = Read(/*asked=*/false, /*selected=*/true);
            if (!outcome->read) outcome.reset();  // a card half laid down: the next look tries again
        }
        lying = found && (lying || outcome.has_value());
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
        if (outcome) Announce(std::move(*outcome));
    }
}

}  // namespace reader
