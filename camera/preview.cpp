#include "camera/preview.h"

#include "camera/camera_component.h"
#include "camera/camera_list.h"
#include "camera/preview_geometry.h"
#include "ui/caption_drag.h"
#include "ui/window.h"

#include <optional>
#include <string>
#include <string_view>

namespace camera {

namespace {
constexpr std::string_view kPreviewBox = "外形框_视频";
constexpr std::string_view kCameraList = "列表框1";
constexpr std::string_view kZoomSlider = "滑块条1";

// The camera index is always the list's selection; -1 with nothing selected goes to the
// component unchanged.
int SelectedCamera(ui::Window& window) { return window[kCameraList].Selection(); }
}  // namespace

void PlacePreview(ui::Window& window, int previewHeight) {
    // Each step works from what the box reports back after the step before.
    ui::Control box = window[kPreviewBox];
    ui::Rect r = box.Geometry();
    r.height = previewHeight;
    box.SetGeometry(r);
    r = box.Geometry();
    r.width = PreviewWidth(r.height);
    box.SetGeometry(r);
    r = box.Geometry();
    r.left = PreviewLeft(r.width);
    box.SetGeometry(r);
    r = box.Geometry();
    r.top = PreviewTop(r.height);
    box.SetGeometry(r);
}

void FillCameraList(ui::Window& window) {
    const std::optional<std::string> text = CameraListText();
    if (!text) return;
    ui::Control list = window[kCameraList];
    for (const std::string& name : SplitCameraList(text->c_str())) list.AddItem(name);
}

void StartPreview(ui::Window& window) {
    SetCameraId(SelectedCamera(window));
    StartCamera(window[kPreviewBox].Handle());
}

void OnCameraListDoubleClick(ui::Window& window) { StartPreview(window); }

void OnCloseDevice(ui::Window& window) { CloseCamera(SelectedCamera(window)); }

void OnZoomChanged(ui::Window& window) {
    const std::optional<int> height = ZoomHeight(window[kZoomSlider].Position());
    if (!height) return;
    // The component draws at the size the window has when it starts, so a new size means
    // stopping and starting again; no state says whether it ran.
    CloseCamera(SelectedCamera(window));
    PlacePreview(window, *height);
    StartPreview(window);
}

void OnPreviewMouseMove(ui::Window& window) {
    ui::Control box = window[kPreviewBox];
    const POINT moved = ui::DragWhileButtonHeld(box.Handle());
    if (moved.x == 0 && moved.y == 0) return;
    // The platform moved the window alone; the control tree must say where it is now.
    ui::Rect r = box.Geometry();
    r.left += moved.x;
    r.top += moved.y;
    box.SetGeometry(r);
}

}  // namespace camera
