#include "camera/camera_panel.h"

#include "camera/camera_component.h"
#include "camera/camera_list.h"
#include "camera/preview_geometry.h"
#include "ui/caption_drag.h"

#include <optional>
#include <string>

namespace camera {

void CameraPanel::PlacePreview(int previewHeight) {
    // Each step works from what the box reports back after the step before.
    ui::Control box = controls_.previewBox;
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

void CameraPanel::FillCameraList() {
    if (const std::optional<std::string> text = CameraListText())
        for (const std::string& name : SplitCameraList(text->c_str())) controls_.list.AddItem(name);
    controls_.list.SetSelection(0);
}

void CameraPanel::StartPreview() {
    SetCameraId(SelectedCamera());
    SetRunning(StartCamera(controls_.previewBox.Handle()));
}

void CameraPanel::OnCloseDevice() {
    CloseCamera(SelectedCamera());
    SetRunning(false);
}

void CameraPanel::SetRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    if (runningChanged_) runningChanged_(running);
}

void CameraPanel::OnZoomChanged() {
    const std::optional<int> height = ZoomHeight(controls_.zoom.Position());
    if (!height) return;
    // The component draws at the size the window has when it starts, so a new size means
    // stopping and starting again. The camera is started whether it ran or not: moving the
    // slider is how an operator asks for the picture at that size.
    CloseCamera(SelectedCamera());
    PlacePreview(*height);
    StartPreview();
}

void CameraPanel::OnPreviewMouseMove() {
    const POINT moved = ui::DragWhileButtonHeld(controls_.previewBox.Handle());
    // The platform moved the window alone; the control tree must say where it is now.
    if (moved.x != 0 || moved.y != 0) Nudge(moved.x, moved.y);
}

void CameraPanel::Nudge(int dx, int dy) {
    ui::Rect r = controls_.previewBox.Geometry();
    r.left += dx;
    r.top += dy;
    controls_.previewBox.SetGeometry(r);
}

}  // namespace camera

namespace camera {

platform::SurfaceShows CameraPanel::PictureShown() const {
    static const UINT query = ::RegisterWindowMessageW(platform::kVideoSurfaceQuery);
    HWND surface = ::FindWindowExW(controls_.previewBox.Handle(), nullptr, platform::kVideoSurfaceClass, nullptr);
    if (!surface || query == 0) return platform::SurfaceShows::Nothing;
    return static_cast<platform::SurfaceShows>(::SendMessageW(surface, query, 0, 0));
}

}  // namespace camera
