#include "app/trainee_change.h"

#include "photo/slots.h"
#include "reader/reader.h"
#include "ui/modal.h"

#include <string>

namespace app {

namespace {
// "<identity> 的 N 张照片还没有保存，换下一位学员会清空它们。确定换吗？"
constexpr std::string_view kOf = " 的 ";
constexpr std::string_view kNotSaved = " 张照片还没有保存，换下一位学员会清空它们。确定换吗？";
}  // namespace

bool MayNameNextTrainee(photo::PhotoSlots& photos, const reader::IdentityChange& change) {
    using Keep = photo::PhotoSlots::Keep;
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
