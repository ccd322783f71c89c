#include "chrome/secondary_templates.h"

#ifndef ORVIA_VERSION
#error "the build gives ORVIA_VERSION, the program's version"
#endif

namespace chrome {

namespace {
constexpr std::string_view kFrame = "外形框1";
using ui::ControlKind;
using ui::ControlRow;
using ui::Rgb;

constexpr ControlRow kHelpControls[] = {
    {.name = kFrame, .kind = ControlKind::ShapeBox, .rect = {0, 0, 800, 600},
     .background = Rgb(0xECECEC), .outline = Rgb(0x0088FF)},
    {.name = kHelpViewer.name, .kind = ControlKind::HtmlViewer, .parent = kFrame, .rect = {4, 37, 792, 560}},
    {.name = kHelpClose.name, .kind = ControlKind::GraphicButton, .parent = kFrame, .rect = {767, 4, 30, 30},
     .pictures = {"CLOSE_NORMAL", "CLOSE_HOVER", "CLOSE_PRESSED"}},
};

// The picture says what Orvia is and where its help is; the caption names the version.
constexpr ControlRow kContactControls[] = {
    {.name = kFrame, .kind = ControlKind::ShapeBox, .rect = {0, 0, 304, 360},
     .background = Rgb(0xFFFFFF), .outline = Rgb(0x000000)},
    {.name = kContactPicture.name, .kind = ControlKind::PictureBox, .parent = kFrame, .rect = {0, 0, 304, 304},
     .background = Rgb(0xFFFFFF), .pictures = {"CONTACT_JPG"}},
    {.name = kContactCaption.name, .kind = ControlKind::TransparentLabel, .parent = kFrame, .rect = {3, 312, 301, 32},
     .text = Rgb(0x0088FF), .font = {"", 29, true}, .hAlign = ui::HAlign::Left,
     .caption = "Orvia 版本 " ORVIA_VERSION},
};
}  // namespace

const ui::WindowTemplate& HelpWindowTemplate() {
    static const ui::WindowTemplate layout{kHelpWidth, kHelpHeight, kHelpControls, {}};
    return layout;
}

const ui::WindowTemplate& ContactWindowTemplate() {
    static const ui::WindowTemplate layout{kContactWidth, kContactHeight, kContactControls, {}};
    return layout;
}

}  // namespace chrome
