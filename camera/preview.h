// Camera selection and the live preview inside the frame 外形框3.
#pragma once

namespace ui {
class Window;
}

namespace camera {

// Start-up share: size and place the preview box, fill the camera list.
void PlacePreview(ui::Window& window, int previewHeight);
void FillCameraList(ui::Window& window);

// Shows the selected camera's live picture in the preview box, at the box's present size.
void StartPreview(ui::Window& window);

// Event handlers of the Main window.
void OnCameraListDoubleClick(ui::Window& window);
void OnCloseDevice(ui::Window& window);
void OnZoomChanged(ui::Window& window);
void OnPreviewMouseMove(ui::Window& window);

}  // namespace camera
