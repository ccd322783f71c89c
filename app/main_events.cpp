#include "app/main_events.h"

#include "app/close_prompt.h"
#include "app/startup.h"
#include "app/window_handlers.h"
#include "camera/preview.h"
#include "chrome/chrome.h"
#include "chrome/press_feedback.h"
#include "photo/slot_save.h"
#include "photo/slots.h"
#include "reader/reader.h"

#include <array>

namespace app {

namespace {
using ui::ControlEvent;
using chrome::ShapeButton;
using chrome::ShapeButtonKind;

struct SlotControls {
    std::string_view board;
    ShapeButton brighter, darker;
};
constexpr std::array<SlotControls, photo::kSlotCount> kSlots{{
    {"画板1", {"透明标签_增加亮度1", "外形框_按钮增加亮度1", ShapeButtonKind::Brighter},
     {"透明标签_减少亮度1", "外形框_按钮减少亮度1", ShapeButtonKind::Darker}},
    {"画板2", {"透明标签_增加亮度2", "外形框_按钮增加亮度2", ShapeButtonKind::Brighter},
     {"透明标签_减少亮度2", "外形框_按钮减少亮度2", ShapeButtonKind::Darker}},
    {"画板3", {"透明标签_增加亮度3", "外形框_按钮增加亮度3", ShapeButtonKind::Brighter},
     {"透明标签_减少亮度3", "外形框_按钮减少亮度3", ShapeButtonKind::Darker}},
    {"画板4", {"透明标签_增加亮度4", "外形框_按钮增加亮度4", ShapeButtonKind::Brighter},
     {"透明标签_减少亮度4", "外形框_按钮减少亮度4", ShapeButtonKind::Darker}},
}};
constexpr ShapeButton kPhotoButton{reader::kPhotoLabel, reader::kPhotoBody, ShapeButtonKind::Photo};

// A Shape button: its pressed look, then its operation, on the press; its normal look on
// the release.
void AddShapeButton(std::vector<ui::EventBinding>& events, const ShapeButton& button, ui::Handler operation) {
    events.push_back({button.label, ControlEvent::LeftDown, [button, operation](ui::Window& w) {
                          chrome::ShowPressedLook(w, button);
                          operation(w);
                      }});
    events.push_back({button.label, ControlEvent::LeftUp,
                      [button](ui::Window& w) { chrome::ShowNormalLook(w, button); }});
}

void AddSlotBindings(std::vector<ui::EventBinding>& events) {
    using photo::Direction;
    for (int slot = 1; slot <= photo::kSlotCount; ++slot) {
        const SlotControls& n = kSlots[static_cast<std::size_t>(slot - 1)];
        events.push_back({n.board, ControlEvent::LeftDown, [slot](ui::Window& w) { photo::OnSlotPressed(w, slot); }});
        events.push_back({n.board, ControlEvent::GotFocus, [slot](ui::Window& w) { photo::OnSlotGotFocus(w, slot); }});
        events.push_back({n.board, ControlEvent::LostFocus, [slot](ui::Window& w) { photo::OnSlotLostFocus(w, slot); }});
        events.push_back({n.board, ControlEvent::DoubleClick, [slot](ui::Window& w) { photo::SaveSlot(w, slot); }});
        AddShapeButton(events, n.brighter, [slot](ui::Window& w) { photo::AdjustSlot(w, slot, Direction::Brighter); });
        AddShapeButton(events, n.darker, [slot](ui::Window& w) { photo::AdjustSlot(w, slot, Direction::Darker); });
    }
}
}  // namespace

ui::WindowBehaviour MainWindowBehaviour() {
    ui::WindowBehaviour b;
    b.endsProgram = true;
    b.created = &OnMainWindowCreated;
    b.closing = &MayCloseMainWindow;
    b.events = {
        {"外形框1", ControlEvent::MouseMove, &DragMainWindow},
        {"按钮_设置", ControlEvent::Clicked, &PopUpSettingsMenu},
        {"关闭", ControlEvent::Clicked, &CloseMainWindow},
        {reader::kReadCardLabel, ControlEvent::LeftDown, &reader::OnReadCard},
        {reader::kStudentLabel, ControlEvent::LeftDown, &reader::OnNameLabelPressed},
        {"外形框_视频", ControlEvent::MouseMove, &camera::OnPreviewMouseMove},
        {"列表框1", ControlEvent::EntryDoubleClick, &camera::OnCameraListDoubleClick},
        {"按钮1", ControlEvent::Clicked, &camera::OnCloseDevice},
        {"滑块条1", ControlEvent::PositionChanged, &camera::OnZoomChanged},
    };
    AddShapeButton(b.events, kPhotoButton, &photo::Capture);
    AddSlotBindings(b.events);
    b.menu = {
        {"软件帮助", &chrome::OpenHelpWindow},
        {"联系作者", &chrome::OpenContactWindow},
    };
    return b;
}

}  // namespace app
