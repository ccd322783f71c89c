#include "app/main_events.h"

#include "app/close_prompt.h"
#include "app/main_controls.h"
#include "app/record_of_saves.h"
#include "chrome/chrome.h"
#include "platform/startup_trace.h"
#include "ui/caption_drag.h"

namespace app {

namespace {
namespace mc = main_controls;
using ui::ControlEvent;
using DeskPointer = std::unique_ptr<MainDesk>&;

// A Shape button: its pressed look, then its operation, on the press; its normal look on
// the release. `button` picks the desk's resolved button.
template <typename PickButton, typename Operation>
void AddShapeButton(std::vector<ui::EventBinding>& events, DeskPointer desk, const mc::ShapeButtonIds& ids,
                    PickButton button, Operation operation) {
    events.push_back({ids.label, ControlEvent::LeftDown, [&desk, button, operation](ui::Window&) {
                          chrome::ShowPressedLook(button(*desk));
                          operation(*desk);
                      }});
    events.push_back({ids.label, ControlEvent::LeftUp,
                      [&desk, button](ui::Window&) { chrome::ShowNormalLook(button(*desk)); }});
}

void AddSlotBindings(std::vector<ui::EventBinding>& events, DeskPointer desk) {
    using photo::Direction;
    for (int slot = 1; slot <= photo::kSlotCount; ++slot) {
        const std::size_t i = static_cast<std::size_t>(slot - 1);
        const mc::SlotIds& ids = mc::kSlots[i];
        events.push_back({ids.board, ControlEvent::LeftDown, [&desk, slot](ui::Window&) { desk->photos.OnSlotPressed(slot); }});
        events.push_back({ids.board, ControlEvent::GotFocus, [&desk, slot](ui::Window&) { desk->photos.OnSlotGotFocus(slot); }});
        events.push_back({ids.board, ControlEvent::LostFocus, [&desk](ui::Window&) { desk->photos.OnSlotLostFocus(); }});
        events.push_back({ids.board, ControlEvent::DoubleClick, [&desk, slot](ui::Window&) {
            if (!desk->photos.Save(slot)) return;
            RecordSave(desk->naming.Identity(), desk->naming.NamedFromCard(), desk->photoDirectory);
            desk->trainees.OnPhotoSaved(desk->naming.Identity());
            desk->naming.OnPhotoSaved();
        }});
        AddShapeButton(events, desk, ids.brighter, [i](MainDesk& d) { return d.slotButtons[i].brighter; },
                       [slot](MainDesk& d) { d.photos.Adjust(slot, Direction::Brighter); });
        AddShapeButton(events, desk, ids.darker, [i](MainDesk& d) { return d.slotButtons[i].darker; },
                       [slot](MainDesk& d) { d.photos.Adjust(slot, Direction::Darker); });
    }
}
}  // namespace

ui::WindowBehaviour MainWindowBehaviour(DeskPointer desk) {
    ui::WindowBehaviour b;
    b.endsProgram = true;
    b.created = [&desk](ui::Window& w) {
        platform::MarkStartup("window and controls");
        desk = std::make_unique<MainDesk>(w);
        platform::MarkStartup("desk");
        desk->Start();
    };
    b.shown = [&desk](ui::Window&) {
        platform::MarkStartup("shown and painted");
        if (desk) desk->Shown();
    };
    b.closing = [&desk](ui::Window&) { return !desk || MayCloseMainWindow(desk->photos); };
    b.endingSession = b.closing;
    b.events = {
        {mc::kBackground, ControlEvent::MouseMove, [](ui::Window& w) { ui::DragWhileButtonHeld(w.Handle()); }},
        {mc::kSettingsButton, ControlEvent::Clicked, [](ui::Window& w) { w.PopUpMenu(mc::kHelpMenu); }},
        {mc::kCloseButton, ControlEvent::Clicked, [](ui::Window& w) { w.Close(); }},
        {mc::kReadCardLabel, ControlEvent::LeftDown, [&desk](ui::Window&) { desk->naming.OnReadCard(); }},
        {mc::kStudentLabel, ControlEvent::LeftDown, [&desk](ui::Window&) { desk->naming.OnNameLabelPressed(); }},
        {mc::kPreviewBox, ControlEvent::MouseMove, [&desk](ui::Window&) { desk->camera.OnPreviewMouseMove(); }},
        {mc::kCameraList, ControlEvent::EntryDoubleClick,
         [&desk](ui::Window&) { desk->camera.OnCameraListDoubleClick(); }},
        {mc::kCloseDevice, ControlEvent::Clicked, [&desk](ui::Window&) { desk->camera.OnCloseDevice(); }},
        {mc::kZoomSlider, ControlEvent::PositionChanged, [&desk](ui::Window&) { desk->camera.OnZoomChanged(); }},
    };
    AddShapeButton(b.events, desk, mc::kPhotoButton, [](MainDesk& d) { return d.photoButton; },
                   [](MainDesk& d) { d.photos.CaptureForOperator(); });
    AddSlotBindings(b.events, desk);
    b.menu = {
        {mc::kHelpItem, &chrome::OpenHelpWindow},
        {mc::kContactItem, &chrome::OpenContactWindow},
        {mc::kGuideItem, [&desk](ui::Window& w) { desk->guide.SetWanted(w.IsMenuItemChecked(mc::kGuideItem)); }},
        {mc::kListItem, [&desk](ui::Window& w) { desk->trainees.OpenWindow(w); }},
        {mc::kImportItem, [&desk](ui::Window& w) { desk->trainees.Import(w.Handle()); }},
    };
    b.keys = {
        {'F', [&desk](ui::Window&) { desk->guide.LookToFrame(); }},
    };
    return b;
}

}  // namespace app
