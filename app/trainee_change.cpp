#include "app/trainee_change.h"

#include "photo/slots.h"
#include "reader/reader.h"
#include "ui/modal.h"

#include <string>

namespace app {

namespace {
constexpr std::string_view kNotSavedAfter = " 的照片还没有保存，确定换下一位学员吗？";
}  // namespace

bool MayNameNextTrainee(photo::PhotoSlots& photos, const reader::IdentityChange& change) {
    using Keep = photo::PhotoSlots::Keep;
    if (change.firstNaming) {
        photos.TraineeNamed(Keep::Everything);
        return true;
    }
    if (photos.HoldsPhotos() && !photos.SavedForCurrentTrainee()) {
        const std::string question = std::string(change.current) + std::string(kNotSavedAfter);
        if (ui::ShowMessageBox(nullptr, question, "Orvia", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) != IDYES)
            return false;
        photos.TraineeNamed(Keep::Nothing);
        return true;
    }
    photos.TraineeNamed(Keep::ShotsAfterSave);
    return true;
}

}  // namespace app
