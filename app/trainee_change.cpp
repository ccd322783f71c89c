#include "app/trainee_change.h"

#include "photo/slots.h"
#include "reader/reader.h"
#include "roster/id_number.h"
#include "roster/record_file.h"
#include "roster/save_record.h"
#include "ui/modal.h"

#include <string>

namespace app {

namespace {
// "<identity> 的 N 张照片还没有保存，换下一位学员会清空它们。确定换吗？"
constexpr std::string_view kOf = " 的 ";
constexpr std::string_view kNotSaved = " 张照片还没有保存，换下一位学员会清空它们。确定换吗？";
constexpr std::string_view kIdLooksWrong = "身份证号码好像不对，确定使用吗？";

// A typed ID number whose check character or birth date is wrong is likelier a typo than a
// rare card: the operator is asked, and Cancel (the default) keeps the name as it was.
// Cards are not checked: what the card says is what the trainee is.
bool TypedIdNumberAccepted(const reader::IdentityChange& change) {
    if (!change.typed) return true;
    const roster::NameAndId who = roster::SplitIdentity(change.next);
    if (who.idNumber.size() != roster::kIdNumberLength) return true;
    const roster::IdProblem problem = roster::CheckIdNumber(who.idNumber, roster::LocalTimeNow().date);
    if (problem != roster::IdProblem::CheckDigit && problem != roster::IdProblem::BirthDate) return true;
    return ui::ShowMessageBox(nullptr, kIdLooksWrong, "Orvia", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) ==
           IDOK;
}
}  // namespace

bool MayNameNextTrainee(photo::PhotoSlots& photos, const reader::IdentityChange& change) {
    using Keep = photo::PhotoSlots::Keep;
    if (!TypedIdNumberAccepted(change)) return false;
    if (change.firstNaming) {
        photos.TraineeNamed(Keep::Everything);
        return true;
    }
    if (const int lost = photos.UnsavedCount(); lost > 0) {
        const std::string question =
            std::string(change.current) + std::string(kOf) + std::to_string(lost) + std::string(kNotSaved);
        // No, the answer that keeps the photos, is the default: Enter never empties slots.
        if (ui::ShowMessageBox(nullptr, question, "Orvia",
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) != IDYES)
            return false;
    }
    photos.TraineeNamed(Keep::Nothing);
    return true;
}

}  // namespace app
