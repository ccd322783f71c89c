#include "reader/naming_state.h"

#include <array>
#include <cstddef>

namespace reader {

namespace {

using S = NamingState;

// One row for each state, one column for each event, both in the order they are declared:
//     ReadFailed, CardReadKept, TraineeNamed, BoxCancelled, NameRefused, ReaderLost
constexpr std::array<std::array<S, 6>, 7> kTable{{
    /* FirstCard */ {S::FirstCardFailed, S::FirstCard, S::NextCard, S::FirstCard, S::FirstCard, S::ByHandPrompt},
    /* FirstCardFailed */ {S::FirstCardFailed, S::FirstCard, S::NextCard, S::FirstCard, S::FirstCard, S::ByHandPrompt},
    /* NextCard */ {S::NextCardFailed, S::NextCard, S::NextCard, S::NextCard, S::NextCard, S::ByHand},
    /* NextCardFailed */ {S::NextCardFailed, S::NextCard, S::NextCard, S::NextCard, S::NextCard, S::ByHand},
    // Without a reader no card is read; a name refused leaves the prompt for the next press.
    /* ByHandPrompt */ {S::ByHandPrompt, S::ByHandPrompt, S::ByHand, S::ByHandUnnamed, S::ByHandPrompt, S::ByHandPrompt},
    /* ByHandUnnamed */ {S::ByHandUnnamed, S::ByHandUnnamed, S::ByHand, S::ByHandUnnamed, S::ByHandUnnamed, S::ByHandUnnamed},
    /* ByHand */ {S::ByHand, S::ByHand, S::ByHand, S::ByHand, S::ByHand, S::ByHand},
}};

}  // namespace

NamingState StartingNamingState(bool readerFound) { return readerFound ? S::FirstCard : S::ByHandPrompt; }

NamingState NextNamingState(NamingState state, NamingEvent event) {
    return kTable[static_cast<std::size_t>(state)][static_cast<std::size_t>(event)];
}

bool WithReader(NamingState state) {
    return state == S::FirstCard || state == S::FirstCardFailed || state == S::NextCard || state == S::NextCardFailed;
}

bool TraineeNamed(NamingState state) { return state == S::NextCard || state == S::NextCardFailed || state == S::ByHand; }

}  // namespace reader
