#include "chrome/press_feedback.h"

#include "ui/window.h"

namespace chrome {

void ShowPressedLook(ui::Window&, const ShapeButton&) {}
void ShowNormalLook(ui::Window&, const ShapeButton&) {}

}  // namespace chrome
