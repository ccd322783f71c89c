// Shows a running camera inside the program's window. The presenter puts a child window
// of its own over the target's whole client area and draws every frame into it with GDI,
// from the capture thread, so a screen copy of the target returns the picture. The child
// also repaints the latest picture whenever the window system asks (after a menu or a
// message box covered it), and lets the mouse through to the target beneath. When frames
// stop coming for a second it draws a notice over the picture saying so (stall_watch.h),
// until the next frame, centred on the part of the picture the operator sees.
#pragma once

#include "frame.h"
#include "frame_scaler.h"
#include "notice_layout.h"
#include "stall_watch.h"
#include "platform/bgrx_picture.h"
#include "platform/video_surface.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace vedio {

// One picture as drawn.
using Picture = platform::BgrxPicture;

class Presenter {
public:
    // Creates the child window over `target`'s client area, at the size it has now; null
    // when `target` is no window or has no area. Call on the target's own thread.
    // `placeholder` (may be null) shows, stretched, until the first frame arrives, so a
    // restart on another size shows no black flash; for a second at most, since it is
    // another moment's picture.
    static std::shared_ptr<Presenter> Create(HWND target, std::shared_ptr<const Picture> placeholder);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    // Converts, scales and draws a frame; any thread, one at a time. Does nothing once
    // detached.
    void Present(const SourceFrame& frame);

    // Stops all drawing and destroys the child window; after it returns, no thread draws
    // into the target again. Call on the target's own thread.
    void Detach();

    // The picture on show now (the placeholder before the first frame), while it is live:
    // null once the notice says the picture has stopped, or before any picture.
    std::shared_ptr<const Picture> Latest() const;
    // What the window shows now: a live frame, a restart's stand-in, or nothing live; the
    // answer to platform::kVideoSurfaceQuery.
    platform::SurfaceShows Shows() const;

private:
    Presenter() = default;
    static LRESULT CALLBACK SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Paints `surface` (this presenter's window), on the target's thread.
    void Paint(HDC dc, HWND surface);
    // The part of the picture inside every window around `surface`, up to the top-level one:
    // what the operator can see of it.
    NoticeRect VisiblePart(HWND surface) const;
    // The timer's look at the frames' flow, on the target's thread.
    void Watch();
    std::shared_ptr<Picture> SparePicture();

    HWND surface_ = nullptr;      // set and cleared on the target's thread
    int width_ = 0;
    int height_ = 0;
    FrameScaler scaler_;          // capture thread only

    mutable std::mutex drawing_;  // held while a frame is drawn and while detaching
    bool detached_ = false;

    std::atomic<bool> wakePending_{false};  // a "frame drawn" message is on its way
    NoticeRect noticeArea_;  // where the notice was last painted; target's thread only

    mutable std::mutex latestLock_;  // held only to swap or copy the pointer, or to ask the watch
    std::shared_ptr<const Picture> latest_;
    bool latestIsPlaceholder_ = false;
    StallWatch watch_{StallWatch::Clock::now(), false};
    std::vector<std::shared_ptr<Picture>> pool_;  // capture thread only
};

}  // namespace vedio
