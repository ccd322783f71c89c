// Waiting for the camera's live picture before a capture. A zoom change or F restarts the
// camera at a new size, and until the new start's first frame the last picture, stretched,
// stands in for up to a second: a capture then would keep a picture the operator no longer
// sees. The wait runs through the Main window's message loop (a timer), never freezing it.
#pragma once

#include <chrono>
#include <functional>

namespace camera {
class CameraPanel;
}
namespace ui {
class Window;
}

namespace app {

class LivePictureWait {
public:
    LivePictureWait(ui::Window& window, const camera::CameraPanel& camera);
    LivePictureWait(const LivePictureWait&) = delete;
    LivePictureWait& operator=(const LivePictureWait&) = delete;

    // Calls `then(true)` at once when the preview shows no stand-in, or once the stand-in
    // gave way to a live frame; `then(false)` when it did not within a second. One wait at
    // a time: a new one replaces it.
    void WhenLive(std::function<void(bool live)> then);

private:
    void Look();

    ui::Window& window_;
    const camera::CameraPanel& camera_;
    std::function<void(bool)> then_;
    std::chrono::steady_clock::time_point deadline_;
};

}  // namespace app
