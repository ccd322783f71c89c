#include "app/live_picture_wait.h"

#include "camera/camera_panel.h"
#include "ui/window.h"

#include <optional>
#include <utility>

namespace app {

namespace {
constexpr UINT_PTR kLookTimer = 0x4C50;  // on the Main window; no other timer of it has this id
constexpr UINT kLookEveryMs = 20;
// The stand-in lasts a second at most; the first frame of a start that works comes well
// within that.
constexpr auto kPatience = std::chrono::seconds(1);
}  // namespace

LivePictureWait::LivePictureWait(ui::Window& window, const camera::CameraPanel& camera)
    : window_(window), camera_(camera) {
    window_.AddMessageHook([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_TIMER || wParam != kLookTimer) return std::nullopt;
        ::KillTimer(hwnd, kLookTimer);
        Look();
        return 0;
    });
}

void LivePictureWait::WhenLive(std::function<void(bool live)> then) {
    // No stand-in: the picture shown is the one to take (live, black or the stopped notice).
    if (camera_.PictureShown() != platform::SurfaceShows::StandIn) return then(true);
    then_ = std::move(then);
    deadline_ = std::chrono::steady_clock::now() + kPatience;
    Look();
}

void LivePictureWait::Look() {
    if (!then_) return;
    const platform::SurfaceShows shown = camera_.PictureShown();
    const bool late = std::chrono::steady_clock::now() >= deadline_;
    if (shown == platform::SurfaceShows::StandIn && !late &&
        ::SetTimer(window_.Handle(), kLookTimer, kLookEveryMs, nullptr) != 0)
        return;
    // The stand-in gave way to a frame, or went on too long (or went without one).
    std::exchange(then_, nullptr)(shown == platform::SurfaceShows::Live);
}

}  // namespace app
