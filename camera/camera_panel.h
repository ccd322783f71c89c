// The Main window's camera panel: the preview box inside its frame, the camera list, the
// zoom slider and the close button, driving the camera component.
#pragma once

#include "platform/video_surface.h"
#include "ui/control.h"

#include <functional>

namespace camera {

struct CameraControls {
    ui::Control previewBox;  // the surface the component draws into
    ui::ListBoxHandle list;
    ui::SliderHandle zoom;
};

class CameraPanel {
public:
    explicit CameraPanel(CameraControls controls) : controls_(controls) {}

    // Start-up share: size and place the preview box; fill the camera list and select its
    // first camera.
    void PlacePreview(int previewHeight);
    void FillCameraList();

    // Shows the selected camera's live picture in the preview box, at the box's present size.
    void StartPreview();

    // Event handlers of the Main window.
    void OnCameraListDoubleClick() { StartPreview(); }
    void OnCloseDevice();
    void OnZoomChanged();
    void OnPreviewMouseMove();

    // Moves the preview box inside its frame (the arrow keys); no bounds.
    void Nudge(int dx, int dy);

    // Moves the zoom slider to `position` as the operator's hand would: a new position runs
    // the slider's event, and with it OnZoomChanged.
    void MoveZoomTo(int position) { controls_.zoom.MoveTo(position); }
    int ZoomPosition() const { return controls_.zoom.Position(); }
    // The preview box, relative to its frame.
    ui::Rect PreviewBox() const { return controls_.previewBox.Geometry(); }

    // What the camera component's window in the preview box shows now (Nothing when the
    // component keeps no such window, as a maker's library).
    platform::SurfaceShows PictureShown() const;

    // `changed` hears of each start of a camera by the operator and each close (a zoom change
    // restarts the camera without closing it for the operator).
    void OnRunningChanged(std::function<void(bool running)> changed) { runningChanged_ = std::move(changed); }

private:
    // The camera index is always the list's selection; -1 with nothing selected goes to the
    // component unchanged.
    int SelectedCamera() const { return controls_.list.Selection(); }

    void SetRunning(bool running);

    CameraControls controls_;
    bool running_ = false;
    std::function<void(bool)> runningChanged_;
};

}  // namespace camera
