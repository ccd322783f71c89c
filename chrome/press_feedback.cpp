#include "chrome/press_feedback.h"


namespace chrome {

namespace {
struct Look {
    ui::Colour outline;
    int width;
    ui::Colour text;
};

constexpr Look kNormal{ui::Rgb(0x0088FF), 1, ui::Rgb(0xFFFFFF)};

constexpr Look PressedLook(ShapeButtonKind kind) {
    switch (kind) {
    case ShapeButtonKind::Photo: return {ui::Rgb(0xFF8000), 2, ui::Rgb(0xFF8000)};
    case ShapeButtonKind::Brighter: return {ui::Rgb(0xFF0000), 2, ui::Rgb(0xFF0000)};
    case ShapeButtonKind::Darker: return {ui::Rgb(0x9000FF), 2, ui::Rgb(0x00FF00)};
    }
    return kNormal;
}

// Both controls repaint at once, so the look shows before the button's operation runs.
void Show(ShapeButton button, const Look& look) {
    button.body.SetOutline(look.outline, look.width);
    button.label.SetTextColour(look.text);
}
}  // namespace

void ShowPressedLook(const ShapeButton& button) { Show(button, PressedLook(button.kind)); }
void ShowNormalLook(const ShapeButton& button) { Show(button, kNormal); }

}  // namespace chrome
