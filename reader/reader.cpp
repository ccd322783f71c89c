#include "reader/reader.h"

#include "platform/file_names.h"
#include "reader/card_file.h"
#include "ui/input_box.h"
#include "ui/modal.h"

#include <optional>

namespace reader {

namespace {

constexpr std::string_view kPlaceCardAgain = "请重新放好身份证";
constexpr std::string_view kReaderLost = "读卡器连接失败";
constexpr std::string_view kInputTitle = "输入照片名称";
constexpr std::string_view kInputPrompt = "请输出学员姓名_身份证号码为文件名.\r\n例子：李四_101001199808081212";
constexpr std::string_view kCorrectTheName = "，请改正名字。";
constexpr ui::Colour kTypedNameColour = ui::Rgb(0xFF0000);

// The input box refuses a name no photo could be saved under, and says why.
std::string RefusalOf(std::string_view name) {
    const std::string_view problem = platform::DescribeNameProblem(platform::CheckFileName(name));
    return problem.empty() ? std::string() : std::string(problem) + std::string(kCorrectTheName);
}

}  // namespace

HWND StudentNaming::Owner() const { return controls_.studentLabel.WindowHandle(); }

void StudentNaming::ShowPhotoButton() {
    controls_.readCardBody.SetVisible(false);
    controls_.readCardLabel.SetVisible(false);
    controls_.photoBody.SetVisible(true);
    controls_.photoLabel.SetVisible(true);
}

// Opens the input box filled with `initial`; the answer becomes the Student identity in
// red. A cancelled first naming leaves the empty red label; a cancelled later one keeps
// the name that was there.
void StudentNaming::NameByHand(std::string_view initial, bool firstTime) {
    const std::optional<std::string> typed = ui::AskForText(
        {.owner = Owner(), .title = kInputTitle, .prompt = kInputPrompt, .initial = initial, .refusal = &RefusalOf});
    if (!typed) {
        state_ = NextNamingState(state_, NamingEvent::BoxCancelled);
        if (!firstTime) return;
        controls_.studentLabel.SetTextColour(kTypedNameColour);
        Show({});
        return;
    }
    TakeTypedName(*typed);
}

bool StudentNaming::TakeTypedName(const std::string& identity) {
    if (!ChangeIdentity(identity, true)) {
        state_ = NextNamingState(state_, NamingEvent::NameRefused);
        return false;
    }
    namedFromCard_ = false;
    controls_.studentLabel.SetTextColour(kTypedNameColour);
    return true;
}

void StudentNaming::NameFromList(const std::string& identity) {
    if (TakeTypedName(identity) && TraineeNamed(state_)) ShowPhotoButton();
}

bool StudentNaming::ChangeIdentity(const std::string& next, bool typed) {
    const std::string current = Identity();
    const bool named = TraineeNamed(state_);
    if (!(named && next == current)) {
        if (mayChange_ && !mayChange_({current, !named, next, typed})) return false;
        waiting_.reset();
        Show(next);
    }
    state_ = NextNamingState(state_, NamingEvent::TraineeNamed);
    return true;
}

void StudentNaming::Show(std::string identity) {
    identity_ = std::move(identity);
    std::string caption = identity_;
    if (waiting_) caption += std::string(kWaitingCardBefore) + waiting_->name;
    controls_.studentLabel.SetCaption(caption);
}

void StudentNaming::SetWaiting(std::optional<CardOutcome> card) {
    waiting_ = std::move(card);
    Show(identity_);
}

void StudentNaming::OnPhotoSaved() {
    if (!waiting_ || !WithReader(state_)) return;
    waitingMayName_ = true;
    cardWatch_.RequestConfirmation();
}

bool StudentNaming::NameFromCard(const CardOutcome& card) {
    if (!ChangeIdentity(card.name + "_" + card.idNumber, false)) return false;
    namedFromCard_ = true;
    // The current trainee's own card back on the reader: nothing waits any more.
    if (waiting_) SetWaiting(std::nullopt);
    ShowPhotoButton();
    return true;
}

void StudentNaming::ChooseStartupButton(int readerFound) {
    state_ = StartingNamingState(readerFound == 1);
    if (readerFound == 1) {
        controls_.photoBody.SetVisible(false);
        controls_.photoLabel.SetVisible(false);
        return;
    }
    controls_.readCardBody.SetVisible(false);
    controls_.readCardLabel.SetVisible(false);
    Show(std::string(kReaderFailurePrompt));
}

void StudentNaming::OnReadCard() {
    if (WithReader(state_)) cardWatch_.RequestRead();
}

void StudentNaming::OnCardOutcome(const CardOutcome& outcome) {
    if (!WithReader(state_)) return;
    if (outcome.removed) {
        // A card taken away no longer waits: laid down again, it is asked about again.
        waitingMayName_ = false;
        if (waiting_) SetWaiting(std::nullopt);
        return;
    }
    if (outcome.readerLost) {
        ui::ShowMessageBox(Owner(), kReaderLost, {}, MB_ICONERROR | MB_OK);
        ContinueWithoutReader();
        return;
    }
    if (!outcome.read) {
        state_ = NextNamingState(state_, NamingEvent::ReadFailed);
        ui::ShowMessageBox(Owner(), kPlaceCardAgain, {}, MB_ICONERROR | MB_OK);
        return;
    }
    state_ = NextNamingState(state_, NamingEvent::CardReadKept);
    // The waiting card seen again before a save ended its wait still waits; after the save,
    // or read on a press of the label, it names the next trainee like any card.
    if (waiting_ && outcome.idNumber == waiting_->idNumber && !waitingMayName_ && !outcome.asked) return;
    waitingMayName_ = false;
    ::MessageBeep(MB_OK);
    for (int i = 0; i < outcome.lookUpsWithoutReader; ++i)
        ui::ShowMessageBox(Owner(), kReaderLost, {}, MB_ICONERROR | MB_OK);
    if (!NameFromCard(outcome)) {
        // Kept the current trainee: the card waits on the reader, shown after the name, and
        // names the next trainee once a photo is saved or the label is pressed.
        SetWaiting(outcome);
    }
    if (outcome.lookUpsWithoutReader > 0) ContinueWithoutReader();
}

void StudentNaming::ContinueWithoutReader() {
    state_ = NextNamingState(state_, NamingEvent::ReaderLost);
    SetWaiting(std::nullopt);
    ShowPhotoButton();
    // Named, the label's next press starts from the name shown; otherwise it asks for one.
    if (!TraineeNamed(state_)) Show(std::string(kReaderFailurePrompt));
}

void StudentNaming::OnNameLabelPressed() {
    switch (state_) {
    case NamingState::FirstCardFailed:
    case NamingState::NextCardFailed:
        // A card that cannot be read: the trainee is named by hand, starting from the name
        // shown. Cards laid down later are read as before.
        NameByHand(TraineeNamed(state_) ? Identity() : std::string(), /*firstTime=*/false);
        if (TraineeNamed(state_)) ShowPhotoButton();
        return;
    case NamingState::NextCard:
        // The Read-card button is gone after the first card: the next trainee's card is
        // read through the Student label.
        OnReadCard();
        return;
    case NamingState::FirstCard:
        return;
    case NamingState::ByHandPrompt:
        NameByHand({}, /*firstTime=*/true);
        return;
    case NamingState::ByHandUnnamed:
    case NamingState::ByHand:
        NameByHand(Identity(), /*firstTime=*/false);
        return;
    }
}

}  // namespace reader
