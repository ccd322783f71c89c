#include "app/trainee_list_window.h"

#include "app/trainee_list.h"
#include "chrome/chrome.h"
#include "ui/caption_drag.h"

namespace app {

namespace {
namespace lc = list_controls;
using ui::ControlKind;
using ui::ControlRow;
using ui::Rgb;

constexpr int kWidth = 644;
constexpr int kHeight = 544;

constexpr ui::ListColumn kColumns[] = {{"姓名", 110}, {"身份证号码", 170}, {"班级", 130}, {"拍照", 180}};

constexpr ControlRow kControls[] = {
    {.name = lc::kFrame.name, .kind = ControlKind::ShapeBox, .rect = {0, 0, 640, 540},
     .background = Rgb(0xECECEC), .outline = Rgb(0x0088FF)},
    {.name = lc::kTitle.name, .kind = ControlKind::TransparentLabel, .parent = lc::kFrame.name,
     .rect = {12, 6, 480, 30}, .text = Rgb(0x0088FF), .font = {"", 24, true}, .hAlign = ui::HAlign::Left},
    {.name = lc::kClose.name, .kind = ControlKind::GraphicButton, .parent = lc::kFrame.name, .rect = {607, 4, 30, 30},
     .pictures = {"CLOSE_NORMAL", "CLOSE_HOVER", "CLOSE_PRESSED"}},
    {.name = lc::kTrainees.name, .kind = ControlKind::ReportList, .parent = lc::kFrame.name,
     .rect = {8, 40, 624, 444}, .font = {"", 16}, .accessibleName = "学员名单", .columns = kColumns},
    {.name = lc::kOnlyMissing.name, .kind = ControlKind::PushButton, .parent = lc::kFrame.name,
     .rect = {8, 494, 120, 36}, .font = {"", 16}, .caption = lc::kShowOnlyMissing},
    {.name = lc::kExportMissing.name, .kind = ControlKind::PushButton, .parent = lc::kFrame.name,
     .rect = {380, 494, 120, 36}, .font = {"", 16}, .caption = "导出未拍名单"},
    {.name = lc::kPackPhotos.name, .kind = ControlKind::PushButton, .parent = lc::kFrame.name,
     .rect = {512, 494, 120, 36}, .font = {"", 16}, .caption = "打包照片"},
};
}  // namespace

const ui::WindowTemplate& ListWindowTemplate() {
    static const ui::WindowTemplate layout{kWidth, kHeight, kControls, {}};
    return layout;
}

ui::WindowBehaviour ListWindowBehaviour(TraineeList& list) {
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;
    ui::WindowBehaviour b;
    b.created = [&list](ui::Window& w) {
        list.OnWindowCreated(w);
        w.FollowMoves({}, [&list] { list.OnActivated(); });
    };
    // Once the list shows: its layered windows cost a quarter of the opening.
    b.shown = [](ui::Window& w) {
        w.MakePoster().Post([list = w.Handle()] {
            if (::IsWindow(list)) chrome::SetWndShadow(list, kShadowColour, kShadowSize);
        });
    };
    b.events = {
        {lc::kFrame, ui::ControlEvent::MouseMove, [](ui::Window& w) { ui::DragWhileButtonHeld(w.Handle()); }},
        {lc::kClose, ui::ControlEvent::Clicked, [](ui::Window& w) { w.Close(); }},
        {lc::kTrainees, ui::ControlEvent::EntryDoubleClick,
         [&list](ui::Window& w) { list.OnRowChosen(w.Get(lc::kTrainees).Selection()); }},
        {lc::kOnlyMissing, ui::ControlEvent::Clicked, [&list](ui::Window&) { list.OnOnlyMissingToggled(); }},
        {lc::kExportMissing, ui::ControlEvent::Clicked, [&list](ui::Window&) { list.ExportMissing(); }},
        {lc::kPackPhotos, ui::ControlEvent::Clicked, [&list](ui::Window&) { list.PackPhotos(); }},
    };
    return b;
}

}  // namespace app
