// The desk's naming state along the roads an operator takes: what a press on the Student
// label does next follows from it.
#include "reader/naming_state.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using reader::NamingEvent;
using reader::NamingState;

NamingState Along(NamingState state, std::initializer_list<NamingEvent> events) {
    for (NamingEvent event : events) state = reader::NextNamingState(state, event);
    return state;
}

TEST(NamingState, WithAReaderAFailedCardIsNamedByHandOnceAndCardsNameTraineesAgainAfter) {
    const NamingState start = reader::StartingNamingState(true);
    EXPECT_EQ(start, NamingState::FirstCard);
    // The first card fails, the box is cancelled: nobody is named, the Read-card button stays.
    EXPECT_EQ(Along(start, {NamingEvent::ReadFailed, NamingEvent::BoxCancelled}), NamingState::FirstCard);
    // Named by hand after a failure: the label reads the next card.
    EXPECT_EQ(Along(start, {NamingEvent::ReadFailed, NamingEvent::TraineeNamed}), NamingState::NextCard);
    // A trainee named, then a card fails and reads on the next try: no box is owed any more.
    EXPECT_EQ(Along(start, {NamingEvent::TraineeNamed, NamingEvent::ReadFailed, NamingEvent::CardReadKept}),
              NamingState::NextCard);
    EXPECT_EQ(Along(start, {NamingEvent::TraineeNamed, NamingEvent::ReadFailed}), NamingState::NextCardFailed);
    // A typed name the operator refused still ends the failure.
    EXPECT_EQ(Along(start, {NamingEvent::TraineeNamed, NamingEvent::ReadFailed, NamingEvent::NameRefused}),
              NamingState::NextCard);
}

TEST(NamingState, AReaderLostLeavesTheDeskNamingByHandFromWhereItWas) {
    const NamingState start = reader::StartingNamingState(true);
    EXPECT_EQ(Along(start, {NamingEvent::ReaderLost}), NamingState::ByHandPrompt);
    EXPECT_EQ(Along(start, {NamingEvent::TraineeNamed, NamingEvent::ReadFailed, NamingEvent::ReaderLost}),
              NamingState::ByHand);
    for (NamingState state : {NamingState::ByHandPrompt, NamingState::ByHandUnnamed, NamingState::ByHand}) {
        EXPECT_FALSE(reader::WithReader(state));
        // Nothing a reader does reaches a desk without one.
        for (NamingEvent event : {NamingEvent::ReadFailed, NamingEvent::CardReadKept, NamingEvent::ReaderLost})
            EXPECT_EQ(reader::NextNamingState(state, event), state);
    }
}

TEST(NamingState, WithoutAReaderTheFirstBoxDecidesWhatTheLabelShows) {
    const NamingState start = reader::StartingNamingState(false);
    EXPECT_EQ(start, NamingState::ByHandPrompt);
    // A refused name keeps the prompt; a cancelled box leaves the label empty, named never.
    EXPECT_EQ(Along(start, {NamingEvent::NameRefused}), NamingState::ByHandPrompt);
    EXPECT_EQ(Along(start, {NamingEvent::BoxCancelled, NamingEvent::BoxCancelled}), NamingState::ByHandUnnamed);
    EXPECT_FALSE(reader::TraineeNamed(Along(start, {NamingEvent::BoxCancelled})));
    EXPECT_EQ(Along(start, {NamingEvent::BoxCancelled, NamingEvent::TraineeNamed, NamingEvent::BoxCancelled}),
              NamingState::ByHand);
}

}  // namespace
