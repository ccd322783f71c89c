// The Main window's controls that code works with, each named once. The Template builds their
// rows from these (ui::Row), the event map and the start-up wiring use them, and the
// subsystems get handles resolved from them.
#pragma once

#include "ui/control_id.h"

#include <array>
#include <string_view>

namespace app::main_controls {

using ui::ControlId;
using Kind = ui::ControlKind;

inline constexpr ControlId<Kind::ShapeBox> kBackground{"外形框1"};
inline constexpr ControlId<Kind::GraphicButton> kSettingsButton{"按钮_设置"};
inline constexpr ControlId<Kind::GraphicButton> kCloseButton{"关闭"};

// The Student label: its caption is the Student identity, the name every photo is saved under.
inline constexpr ControlId<Kind::TransparentLabel> kStudentLabel{"透明标签_名字"};

// The two big buttons, one of which stands in the same place: the Read-card button while a
// reader waits for the first card, the Photo button otherwise.
inline constexpr ControlId<Kind::ShapeBox> kReadCardBody{"外形框_读身份证"};
inline constexpr ControlId<Kind::TransparentLabel> kReadCardLabel{"透明标签_读身份证"};
inline constexpr ControlId<Kind::ShapeBox> kPhotoBody{"外形框_拍照"};
inline constexpr ControlId<Kind::TransparentLabel> kPhotoLabel{"透明标签_拍照"};

// The portrait frame, whose pixels a capture copies, and the camera's surface inside it.
inline constexpr ControlId<Kind::ShapeBox> kPreviewFrame{"外形框3"};
inline constexpr ControlId<Kind::ShapeBox> kPreviewBox{"外形框_视频"};
inline constexpr ControlId<Kind::ListBox> kCameraList{"列表框1"};
inline constexpr ControlId<Kind::PushButton> kCloseDevice{"按钮1"};
inline constexpr ControlId<Kind::Slider> kZoomSlider{"滑块条1"};

// A Shape button: a painted body with its caption label on top.
struct ShapeButtonIds {
    ControlId<Kind::TransparentLabel> label;
    ControlId<Kind::ShapeBox> body;
};

struct SlotIds {
    ControlId<Kind::DrawingBoard> board;
    ControlId<Kind::GroupBox> brightnessGroup;  // holds the two buttons below
    ShapeButtonIds brighter;
    ShapeButtonIds darker;
};

inline constexpr std::array<SlotIds, 4> kSlots{{
    {{"画板1"}, {"分组框_图1"}, {{"透明标签_增加亮度1"}, {"外形框_按钮增加亮度1"}},
     {{"透明标签_减少亮度1"}, {"外形框_按钮减少亮度1"}}},
    {{"画板2"}, {"分组框_图2"}, {{"透明标签_增加亮度2"}, {"外形框_按钮增加亮度2"}},
     {{"透明标签_减少亮度2"}, {"外形框_按钮减少亮度2"}}},
    {{"画板3"}, {"分组框_图3"}, {{"透明标签_增加亮度3"}, {"外形框_按钮增加亮度3"}},
     {{"透明标签_减少亮度3"}, {"外形框_按钮减少亮度3"}}},
    {{"画板4"}, {"分组框_图4"}, {{"透明标签_增加亮度4"}, {"外形框_按钮增加亮度4"}},
     {{"透明标签_减少亮度4"}, {"外形框_按钮减少亮度4"}}},
}};

inline constexpr ShapeButtonIds kPhotoButton{kPhotoLabel, kPhotoBody};

// The menu: its top-level item pops up from the settings button.
inline constexpr std::string_view kHelpMenu = "帮助";
inline constexpr std::string_view kHelpItem = "软件帮助";
inline constexpr std::string_view kContactItem = "联系作者";
// Checked while the framing guide shows over the live preview; for this run only.
inline constexpr std::string_view kGuideItem = "显示取景框";
// The day's list: the window of who has a photo, and a new class list from the school.
inline constexpr std::string_view kListItem = "学员名单";
inline constexpr std::string_view kImportItem = "导入学员名单…";

}  // namespace app::main_controls
