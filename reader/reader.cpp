#include "reader/reader.h"

#include "photo/photo_names.h"
#include "reader/card_file.h"
#include "reader/reader_component.h"
#include "ui/input_box.h"
#include "ui/modal.h"
#include "ui/window.h"

#include <optional>

namespace reader {

namespace {

constexpr std::string_view kPlaceCardAgain = "请重新放好身份证";
constexpr std::string_view kInputTitle = "输入照片名称";
constexpr std::string_view kInputPrompt = "请输出学员姓名_身份证号码为文件名.\r\n例子：李四_101001199808081212";
constexpr std::string_view kCorrectTheName = "，请改正名字。";
constexpr ui::Colour kTypedNameColour = ui::Rgb(0xFF0000);

// How this desk names its trainees, settled at start-up. A desk names one trainee after
// another in one run, so the Student label stays the place to name the next one.
struct NamingState {
    bool readerFound = false;  // the Read-card button was shown at start-up
    bool cardRead = false;     // a card has been read since
    bool namedByHand = false;  // the input box has been answered (or cancelled) once
};

NamingState& Naming() {
    static NamingState state;
    return state;
}

void ShowPhotoButton(ui::Window& window) {
    window[kReadCardBody].SetVisible(false);
    window[kReadCardLabel].SetVisible(false);
    window[kPhotoBody].SetVisible(true);
    window[kPhotoLabel].SetVisible(true);
}

// The input box refuses a name no photo could be saved under, and says why.
std::string RefusalOf(std::string_view name) {
    const std::string_view problem = photo::DescribeNameProblem(photo::CheckPhotoName(name));
    return problem.empty() ? std::string() : std::string(problem) + std::string(kCorrectTheName);
}

// Opens the input box filled with `initial`; the answer becomes the Student identity in
// red. A cancelled first naming leaves the empty red label; a cancelled later one keeps
// the name that was there.
void NameByHand(ui::Window& window, std::string_view initial, bool firstTime) {
    const std::optional<std::string> typed = ui::AskForText(
        {.owner = window.Handle(), .title = kInputTitle, .prompt = kInputPrompt, .initial = initial,
         .refusal = &RefusalOf});
    Naming().namedByHand = true;
    if (!typed && !firstTime) return;
    auto label = window[kStudentLabel];
    label.SetTextColour(kTypedNameColour);
    label.SetCaption(typed.value_or(std::string()));
}

}  // namespace

void ChooseStartupButton(ui::Window& window, int readerFound) {
    Naming().readerFound = readerFound == 1;
    if (readerFound == 1) {
        window[kPhotoBody].SetVisible(false);
        window[kPhotoLabel].SetVisible(false);
        return;
    }
    window[kReadCardBody].SetVisible(false);
    window[kReadCardLabel].SetVisible(false);
    window[kStudentLabel].SetCaption(kReaderFailurePrompt);
}

std::string StudentIdentity(ui::Window& window) { return window[kStudentLabel].Caption(); }

void OnReadCard(ui::Window& window) {
    if (ReadCard() == 0) {
        ui::ShowMessageBox(window.Handle(), kPlaceCardAgain, {}, MB_ICONERROR | MB_OK);
        return;
    }
    ::MessageBeep(MB_OK);
    // Each lookup scans for the reader again and reads the card text file afresh.
    const std::string name = LookUpCardField(window.Handle(), kNameField);
    const std::string idNumber = LookUpCardField(window.Handle(), kIdNumberField);
    window[kStudentLabel].SetCaption(name + "_" + idNumber);
    ShowPhotoButton(window);
    Naming().cardRead = true;
}

void OnNameLabelPressed(ui::Window& window) {
    const NamingState& naming = Naming();
    if (naming.readerFound) {
        // The Read-card button is gone after the first card: the next trainee's card is
        // read through the Student label.
        if (naming.cardRead) OnReadCard(window);
        return;
    }
    const std::string caption = StudentIdentity(window);
    if (caption == kReaderFailurePrompt) {
        NameByHand(window, {}, /*firstTime=*/true);
    } else if (naming.namedByHand) {
        NameByHand(window, caption, /*firstTime=*/false);
    }
}

}  // namespace reader
