#include "app/main_events.h"

#include "app/startup.h"
#include "app/window_handlers.h"
#include "camera/preview.h"
#include "chrome/chrome.h"
#include "photo/slots.h"
#include "reader/reader.h"

#include <array>

namespace app {

namespace {
using ui::ControlEvent;

struct SlotNames {
    std::string_view board, brighter, darker;
};
constexpr std::array<SlotNames, 4> kSlots{{
    {"画板1", "透明标签_增加亮度1", "透明标签_减少亮度1"},
    {"画板2", "透明标签_增加亮度2", "透明标签_减少亮度2"},
    {"画板3", "透明标签_增加亮度3", "透明标签_减少亮度3"},
    {"画板4", "透明标签_增加亮度4", "透明标签_减少亮度4"},
}};

void AddSlotBindings(std::vector<ui::EventBinding>& events) {
    using photo::Direction;
    for (int slot = 1; slot <= 4; ++slot) {
        const SlotNames& n = kSlots[static_cast<std::size_t>(slot - 1)];
        events.push_back({n.board, ControlEvent::LeftDown, [slot](ui::Window& w) { photo::OnSlotPressed(w, slot); }});
        events.push_back({n.board, ControlEvent::GotFocus, [slot](ui::Window& w) { photo::OnSlotGotFocus(w, slot); }});
        events.push_back({n.board, ControlEvent::LostFocus, [slot](ui::Window& w) { photo::OnSlotLostFocus(w, slot); }});
        events.push_back({n.board, ControlEvent::DoubleClick, [slot](ui::Window& w) { photo::OnSlotDoubleClick(w, slot); }});
        for (const auto& [label, direction] : {std::pair{n.brighter, Direction::Brighter}, std::pair{n.darker, Direction::Darker}}) {
            const Direction d = direction;
            events.push_back({label, ControlEvent::LeftDown, [slot, d](ui::Window& w) { photo::OnBrightnessDown(w, slot, d); }});
            events.push_back({label, ControlEvent::LeftUp, [slot, d](ui::Window& w) { photo::OnBrightnessUp(w, slot, d); }});
        }
    }
}
}  // namespace

ui::WindowBehaviour MainWindowBehaviour() {
    ui::WindowBehaviour b;
    b.endsProgram = true;
    b.created = &OnMainWindowCreated;
    b.events = {
        {"外形框1", ControlEvent::MouseMove, &DragMainWindow},
        {"按钮_设置", ControlEvent::Clicked, &PopUpSettingsMenu},
        {"关闭", ControlEvent::Clicked, &CloseMainWindow},
        {"透明标签_读身份证", ControlEvent::LeftDown, &reader::OnReadCard},
        {"透明标签_名字", ControlEvent::LeftDown, &reader::OnNameLabelPressed},
        {"透明标签_拍照", ControlEvent::LeftDown, &photo::OnPhotoButtonDown},
        {"透明标签_拍照", ControlEvent::LeftUp, &photo::OnPhotoButtonUp},
        {"外形框_视频", ControlEvent::MouseMove, &camera::OnPreviewMouseMove},
        {"列表框1", ControlEvent::EntryDoubleClick, &camera::OnCameraListDoubleClick},
        {"按钮1", ControlEvent::Clicked, &camera::OnCloseDevice},
        {"滑块条1", ControlEvent::PositionChanged, &camera::OnZoomChanged},
    };
    AddSlotBindings(b.events);
    b.menu = {
        {"软件帮助", &chrome::OpenHelpWindow},
        {"联系作者", &chrome::OpenContactWindow},
    };
    return b;
}

}  // namespace app
