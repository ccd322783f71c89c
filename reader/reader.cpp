#include "reader/reader.h"

#include "platform/file_names.h"
#include "reader/card_file.h"
#include "ui/input_box.h"
#include "ui/modal.h"

#include <optional>

namespace reader {

namespace {

constexpr std::string_view kPlaceCardAgain = "请重新放好身份证";
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
    namedByHand_ = true;
    if (!typed && !firstTime) return;
    controls_.studentLabel.SetTextColour(kTypedNameColour);
    controls_.studentLabel.SetCaption(typed.value_or(std::string()));
}

void StudentNaming::ChooseStartupButton(int readerFound) {
    readerFound_ = readerFound == 1;
    if (readerFound == 1) {
        controls_.photoBody.SetVisible(false);
        controls_.photoLabel.SetVisible(false);
        return;
    }
    controls_.readCardBody.SetVisible(false);
    controls_.readCardLabel.SetVisible(false);
    controls_.studentLabel.SetCaption(kReaderFailurePrompt);
}

void StudentNaming::OnReadCard() {
    if (reader_.ReadCard() == 0) {
        ui::ShowMessageBox(Owner(), kPlaceCardAgain, {}, MB_ICONERROR | MB_OK);
        return;
    }
    ::MessageBeep(MB_OK);
    // Each lookup scans for the reader again and reads the card text file afresh.
    const std::string name = reader_.LookUpCardField(Owner(), kNameField);
    const std::string idNumber = reader_.LookUpCardField(Owner(), kIdNumberField);
    controls_.studentLabel.SetCaption(name + "_" + idNumber);
    ShowPhotoButton();
    cardRead_ = true;
}

void StudentNaming::OnNameLabelPressed() {
    if (readerFound_) {
        // The Read-card button is gone after the first card: the next trainee's card is
        // read through the Student label.
        if (cardRead_) OnReadCard();
        return;
    }
    const std::string caption = Identity();
    if (caption == kReaderFailurePrompt) {
        NameByHand({}, /*firstTime=*/true);
    } else if (namedByHand_) {
        NameByHand(caption, /*firstTime=*/false);
    }
}

}  // namespace reader
