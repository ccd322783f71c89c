// The list window: every trainee of the class list with 已拍 (and when) or 未拍, the count
// in its title, a filter for those still missing, and the two hand-over buttons. It stays
// open beside the Main window while the desk works; what it shows belongs to TraineeList.
#pragma once

#include "ui/control_id.h"
#include "ui/template.h"
#include "ui/window.h"

#include <string_view>

namespace app {

class TraineeList;

namespace list_controls {
using ui::ControlId;
using Kind = ui::ControlKind;
inline constexpr ControlId<Kind::ShapeBox> kFrame{"外形框1"};
inline constexpr ControlId<Kind::TransparentLabel> kTitle{"透明标签_已拍"};
inline constexpr ControlId<Kind::GraphicButton> kClose{"关闭"};
inline constexpr ControlId<Kind::ReportList> kTrainees{"列表_学员"};
inline constexpr ControlId<Kind::PushButton> kOnlyMissing{"按钮_只看未拍"};
inline constexpr ControlId<Kind::PushButton> kExportMissing{"按钮_导出未拍名单"};
inline constexpr ControlId<Kind::PushButton> kPackPhotos{"按钮_打包照片"};
// The filter button's caption, by what a press does next.
inline constexpr std::string_view kShowOnlyMissing = "只看未拍";
inline constexpr std::string_view kShowAll = "显示全部";
}  // namespace list_controls

const ui::WindowTemplate& ListWindowTemplate();
// What the window does: each control hands its event to `list`.
ui::WindowBehaviour ListWindowBehaviour(TraineeList& list);

}  // namespace app
