// Decides when the preview must say that its picture has stopped: no new frame for a second
// while the camera should be running (a device lost, stalled or unplugged, or a start that
// never delivers). A frozen picture must never pass for the person in front of the camera
// now. Portable and given the time by its caller, so it is tested with a made-up clock.
#pragma once

#include <chrono>

namespace vedio {

class StallWatch {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPatience = std::chrono::seconds(1);

    // A camera started at `started`. `placeholder`: a picture of the camera before a restart
    // stands in until the first frame, for `kPatience` at most.
    StallWatch(Clock::time_point started, bool placeholder);

    // A real frame arrived: the notice goes, the placeholder is gone for good.
    void FrameArrived(Clock::time_point now);

    // Brings the state up to `now`; true when what the preview shows changed (a repaint
    // is due).
    bool Update(Clock::time_point now);

    bool ShowsNotice() const { return notice_; }
    bool ShowsPlaceholder() const { return placeholder_; }

    // When Update could next change something; a watcher may sleep until then.
    Clock::time_point NextChange() const { return lastSign_ + kPatience; }

private:
    Clock::time_point lastSign_;  // the start or the last frame
    bool placeholder_ = false;
    bool notice_ = false;
};

}  // namespace vedio
