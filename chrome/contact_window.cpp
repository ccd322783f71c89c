// The Contact window: what Orvia is and where its help is, shown modally; a left click on
// its picture closes it.
#include "chrome/chrome.h"
#include "chrome/secondary_templates.h"
#include "ui/modal_window.h"

namespace chrome {

void OpenContactWindow(ui::Window& owner) {
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;
    ui::WindowBehaviour behaviour;
    behaviour.created = [](ui::Window& w) { SetWndShadow(w.Handle(), kShadowColour, kShadowSize); };
    behaviour.events = {
        {kContactPicture, ui::ControlEvent::LeftDown, [](ui::Window& w) { w.Close(); }},
    };
    ui::ShowModalWindow(ContactWindowTemplate(), std::move(behaviour), owner.Handle());
}

}  // namespace chrome
