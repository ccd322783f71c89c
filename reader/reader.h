// Naming the trainee: the Student identity, read from ID cards or typed by hand, and the
// choice between the Read-card and the Photo button. The Student label's caption is the
// Student identity, the name every photo is saved under; this is the one place that reads
// and writes it.
#pragma once

#include "reader/card_watcher.h"
#include "reader/naming_state.h"
#include "reader/reader_component.h"
#include "ui/control.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace reader {

// Shown in the Student label when no reader answered at start-up.
inline constexpr std::string_view kReaderFailurePrompt = "身份证读卡器连接失败!请双击我填写名字";
// Between the Student identity and the name on a card that waits to name the next trainee.
inline constexpr std::string_view kWaitingCardBefore = "　下一位：";

struct NamingControls {
    ui::Control studentLabel;
    ui::Control readCardBody, readCardLabel;  // the Read-card button
    ui::Control photoBody, photoLabel;        // the Photo button, in the same place
};

// The Student identity is about to change to a different trainee.
struct IdentityChange {
    std::string_view current;  // the identity now shown
    bool firstNaming;          // no trainee has been named in this run yet
    std::string_view next;     // the identity it would become
    bool typed;                // typed in the input box, not read from a card
};
// Whether the change may go ahead; the desk asks the operator where photos would be lost.
using IdentityChangeCheck = std::function<bool(const IdentityChange&)>;

class StudentNaming {
public:
    StudentNaming(NamingControls controls, CardWatcher& cardWatch, IdentityChangeCheck mayChange)
        : controls_(controls), cardWatch_(cardWatch), mayChange_(std::move(mayChange)), identity_(controls.studentLabel.Caption()) {}

    // With a reader the Read-card button stays; without one the Photo button stays and the
    // Student label asks for the name by hand.
    void ChooseStartupButton(int readerFound);

    // The Student identity as the Student label shows it (before the card waiting, if any).
    std::string Identity() const { return identity_; }
    // Whether the trainee named now was read from a card (else typed by hand).
    bool NamedFromCard() const { return namedFromCard_; }

    // Event handlers of the Main window.
    void OnReadCard();
    void OnNameLabelPressed();
    // A trainee chosen from the class list, for one without a card: named as a typed name
    // is, with the same questions.
    void NameFromList(const std::string& identity);
    // A read or a look of the reader's owner has come to `outcome`.
    void OnCardOutcome(const CardOutcome& outcome);
    // A photo of the current trainee has been saved, which ends that trainee: a card left
    // waiting names the next one (asked about only if unsaved work would be lost) once the
    // watch has seen it still lying there, since it may have gone while the box was open.
    void OnPhotoSaved();

private:
    void ShowPhotoButton();
    // The reader has gone: the desk names its trainees by hand from now on.
    void ContinueWithoutReader();
    void NameByHand(std::string_view initial, bool firstTime);
    // Makes a typed `identity` the trainee's, in the typed name's colour; false when refused.
    bool TakeTypedName(const std::string& identity);
    // Makes `next` the Student identity unless the check refuses; false when it stays as it was.
    // The same identity again changes nothing.
    bool ChangeIdentity(const std::string& next, bool typed);
    // Names the trainee of `card`; false when the operator kept the current one.
    bool NameFromCard(const CardOutcome& card);
    // Shows `identity` as the Student identity, with the card waiting after it.
    void Show(std::string identity);
    // The card whose trainee was not named yet (the operator said No) and still lies there.
    void SetWaiting(std::optional<CardOutcome> card);
    HWND Owner() const;  // of the boxes the naming opens: the Main window

    NamingControls controls_;
    CardWatcher& cardWatch_;
    IdentityChangeCheck mayChange_;
    NamingState state_ = NamingState::FirstCard;  // settled at start-up, then by events
    std::string identity_;      // what the label shows first
    std::optional<CardOutcome> waiting_;
    bool waitingMayName_ = false;  // a save ended the trainee: the waiting card, confirmed, names the next
    bool namedFromCard_ = false;
};

}  // namespace reader
