// The look of a Shape button while it is held: a 2-pixel coloured outline on its body and a
// coloured caption; the Normal look again on release.
#pragma once

#include <string_view>

namespace ui {
class Window;
}

namespace chrome {

enum class ShapeButtonKind { Photo, Brighter, Darker };

struct ShapeButton {
    std::string_view label;
    std::string_view body;
    ShapeButtonKind kind;
};

void ShowPressedLook(ui::Window& window, const ShapeButton& button);
void ShowNormalLook(ui::Window& window, const ShapeButton& button);

}  // namespace chrome
