#include "app/close_prompt.h"

#include "photo/slots.h"
#include "ui/modal.h"

namespace app {

bool MayCloseMainWindow(const photo::PhotoSlots& photos) {
    if (!photos.HasUnsavedPhotos()) return true;
    return ui::ShowMessageBox(nullptr, "有未保存的照片，确定退出吗？", "Orvia",
                              MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL) == IDOK;
}

}  // namespace app
