// How the desk names its trainees at any moment: with a reader or by hand, whether a trainee
// has been named yet, and whether the last card failed to read. One state, changed only by
// the events below, through one table.
#pragma once

namespace reader {

enum class NamingState {
    FirstCard,        // a reader: the Read-card button shows, no trainee named yet
    FirstCardFailed,  // the same, the last card failed: a press on the label names by hand
    NextCard,         // a reader, a trainee named: the label reads the next card
    NextCardFailed,   // the same, the last card failed: a press on the label names by hand
    ByHandPrompt,     // no reader, no trainee named: the label asks for the name by hand
    ByHandUnnamed,    // no reader, the first input box was cancelled: the label is empty
    ByHand,           // no reader, a trainee named: the label names the next one by hand
};

enum class NamingEvent {
    ReadFailed,     // a card could not be read
    CardReadKept,   // a card was read and the operator kept the trainee named
    TraineeNamed,   // a card or the input box named a trainee
    BoxCancelled,   // the input box was cancelled
    NameRefused,    // a typed name was not taken (the operator kept the trainee named)
    ReaderLost,     // the reader stopped answering
};

// Where a desk starts: FirstCard when the start-up scan found a reader, else ByHandPrompt.
NamingState StartingNamingState(bool readerFound);
NamingState NextNamingState(NamingState state, NamingEvent event);

// A reader answers (the Read-card button or the label reads cards).
bool WithReader(NamingState state);
// A trainee has been named in this run.
bool TraineeNamed(NamingState state);

}  // namespace reader
