#include "app/close_prompt.h"

#include "photo/slots.h"
#include "ui/modal.h"

#include <string>

namespace app {

bool MayCloseMainWindow(const photo::PhotoSlots& photos) {
    const int lost = photos.UnsavedCount();
    if (lost == 0) return true;
    const std::string question = "有 " + std::to_string(lost) + " 张照片还没有保存，确定退出吗？";
    // Cancel, the answer that keeps the photos, is the default.
    return ui::ShowMessageBox(nullptr, question, "Orvia", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) ==
           IDOK;
}

}  // namespace app
