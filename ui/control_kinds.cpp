// The kind registry: which class realises each native kind.
#include "ui/basic_controls.h"
#include "ui/graphic_button.h"
#include "ui/html_viewer_control.h"
#include "ui/native_control.h"
#include "ui/picture_box.h"

namespace ui {

namespace {
template <typename Kind>
std::unique_ptr<NativeControl> Make(ControlHost& host, const ControlState& state, int index) {
    return std::make_unique<Kind>(host, state, index);
}

using Factory = std::unique_ptr<NativeControl> (*)(ControlHost&, const ControlState&, int);

struct KindEntry {
    ControlKind kind;
    Factory make;
};

constexpr KindEntry kKinds[] = {
    {ControlKind::DrawingBoard, &Make<DrawingBoard>},
    {ControlKind::ShapeBox, &Make<WindowedShapeBox>},  // only those that need a window
    {ControlKind::PushButton, &Make<PushButton>},
    {ControlKind::GraphicButton, &Make<GraphicButton>},
    {ControlKind::ListBox, &Make<ListBox>},
    {ControlKind::Slider, &Make<Slider>},
    {ControlKind::HtmlViewer, &Make<HtmlViewerControl>},
    {ControlKind::PictureBox, &Make<PictureBox>},
};
}  // namespace

std::unique_ptr<NativeControl> MakeNativeControl(ControlHost& host, const ControlState& state, int index) {
    if (!NeedsOwnWindow(*state.row)) return nullptr;
    for (const KindEntry& entry : kKinds)
        if (entry.kind == state.row->kind) return entry.make(host, state, index);
    return nullptr;
}

}  // namespace ui
