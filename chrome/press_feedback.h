// The look of a Shape button while it is held: a 2-pixel coloured outline on its body and a
// coloured caption; the Normal look again on release.
#pragma once

#include "ui/control.h"

namespace chrome {

enum class ShapeButtonKind { Photo, Brighter, Darker };

struct ShapeButton {
    ui::Control label;
    ui::Control body;
    ShapeButtonKind kind;
};

void ShowPressedLook(const ShapeButton& button);
void ShowNormalLook(const ShapeButton& button);

}  // namespace chrome
