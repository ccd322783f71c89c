// The Templates of the two secondary windows, the Help window and the Contact window.
#pragma once

#include "ui/template.h"

#include <string_view>

namespace chrome {

inline constexpr int kHelpWidth = 803;
inline constexpr int kHelpHeight = 604;
inline constexpr int kContactWidth = 308;
inline constexpr int kContactHeight = 364;

inline constexpr std::string_view kHelpViewer = "超文本浏览框1";
inline constexpr std::string_view kHelpClose = "关闭";
inline constexpr std::string_view kContactPicture = "图片框1";
inline constexpr std::string_view kContactCaption = "透明标签1";

const ui::WindowTemplate& HelpWindowTemplate();
const ui::WindowTemplate& ContactWindowTemplate();

}  // namespace chrome
