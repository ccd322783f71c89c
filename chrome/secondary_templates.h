// The Templates of the two secondary windows, the Help window and the Contact window.
#pragma once

#include "ui/control_id.h"
#include "ui/template.h"

#include <string_view>

namespace chrome {

inline constexpr int kHelpWidth = 803;
inline constexpr int kHelpHeight = 604;
inline constexpr int kContactWidth = 308;
inline constexpr int kContactHeight = 364;

// The controls code works with, each named once.
inline constexpr ui::ControlId<ui::ControlKind::HtmlViewer> kHelpViewer{"超文本浏览框1"};
inline constexpr ui::ControlId<ui::ControlKind::GraphicButton> kHelpClose{"关闭"};
inline constexpr ui::ControlId<ui::ControlKind::PictureBox> kContactPicture{"图片框1"};
inline constexpr ui::ControlId<ui::ControlKind::TransparentLabel> kContactCaption{"透明标签1"};

const ui::WindowTemplate& HelpWindowTemplate();
const ui::WindowTemplate& ContactWindowTemplate();

}  // namespace chrome
