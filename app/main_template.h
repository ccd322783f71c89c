// The Main window's Template: every control with its kind, parent, geometry, look,
// caption and visibility, and the menu.
#pragma once

#include "ui/template.h"

#include <string_view>

namespace app {

inline constexpr int kMainWidth = 1024;
inline constexpr int kMainHeight = 650;

// Shown in the name bar when no reader answered at start-up.
inline constexpr std::string_view kReaderFailurePrompt = "身份证读卡器连接失败!请双击我填写名字";

const ui::WindowTemplate& MainWindowTemplate();

}  // namespace app
