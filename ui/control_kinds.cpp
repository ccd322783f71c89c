// The kind registry: how each kind is realised on Win32, the class of its window or how the
// window paints it. What a kind is lives in kind_traits.cpp; a new kind adds its own files,
// a row there and a row here.
#include "ui/basic_controls.h"
#include "ui/graphic_button.h"
#include "ui/html_viewer_control.h"
#include "ui/native_control.h"
#include "ui/paint.h"
#include "ui/picture_box.h"
#include "ui/report_list.h"

#include <array>

namespace ui {

namespace {
template <typename Kind>
std::unique_ptr<NativeControl> Make(ControlHost& host, const ControlState& state, int index) {
    return std::make_unique<Kind>(host, state, index);
}

using Factory = std::unique_ptr<NativeControl> (*)(ControlHost&, const ControlState&, int);
using Painter = void (*)(HDC, const RECT&, const ControlState&, GdiCache&);

struct KindEntry {
    ControlKind kind;
    Factory make;     // when it has a window
    Painter paint;    // when its window paints it
};

void PaintPaintedShapeBox(HDC dc, const RECT& r, const ControlState& c, GdiCache& cache) {
    PaintShapeBox(dc, r, c.row->background, c.outline, c.outlineWidth, cache);
}

constexpr std::array kKinds{
    KindEntry{ControlKind::ShapeBox, &Make<WindowedShapeBox>, &PaintPaintedShapeBox},
    KindEntry{ControlKind::TransparentLabel, nullptr, &PaintLabel},
    KindEntry{ControlKind::DrawingBoard, &Make<DrawingBoard>, nullptr},
    KindEntry{ControlKind::GroupBox, nullptr, &PaintGroupBox},
    KindEntry{ControlKind::PushButton, &Make<PushButton>, nullptr},
    KindEntry{ControlKind::GraphicButton, &Make<GraphicButton>, nullptr},
    KindEntry{ControlKind::ListBox, &Make<ListBox>, nullptr},
    KindEntry{ControlKind::Slider, &Make<Slider>, nullptr},
    KindEntry{ControlKind::HtmlViewer, &Make<HtmlViewerControl>, nullptr},
    KindEntry{ControlKind::PictureBox, &Make<PictureBox>, nullptr},
    KindEntry{ControlKind::ReportList, &Make<ReportList>, nullptr},
};

// Indexed by kind, and every kind realised the way its traits say.
constexpr bool Complete() {
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        const KindEntry& e = kKinds[i];
        if (static_cast<std::size_t>(e.kind) != i) return false;
        const Windowing w = TraitsOf(e.kind).windowing;
        if ((w != Windowing::Painted) != (e.make != nullptr)) return false;
        if ((w != Windowing::Native) != (e.paint != nullptr)) return false;
    }
    return kKinds.size() == static_cast<std::size_t>(ControlKind::ReportList) + 1;
}

static_assert(Complete(), "one entry per kind, in kind order, realised as its traits say");

const KindEntry& EntryOf(ControlKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }
}  // namespace

std::unique_ptr<NativeControl> MakeNativeControl(ControlHost& host, const ControlState& state, int index) {
    if (!NeedsOwnWindow(*state.row)) return nullptr;
    const Factory make = EntryOf(state.row->kind).make;
    return make ? make(host, state, index) : nullptr;
}

void PaintWindowless(HDC dc, const RECT& r, const ControlState& control, GdiCache& cache) {
    if (const Painter paint = EntryOf(control.row->kind).paint) paint(dc, r, control, cache);
}

}  // namespace ui
