#include "ui/modal.h"

#include "platform/win_text.h"

namespace ui {

void SetModalObservers(std::function<void()>, std::function<void()>) {}
ModalScope::ModalScope() = default;
ModalScope::~ModalScope() = default;

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags) {
    ModalScope scope;
    return ::MessageBoxW(owner, platform::Wide(text).c_str(), platform::Wide(title).c_str(), flags);
}

}  // namespace ui
