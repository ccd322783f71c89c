#include "stall_watch.h"

namespace vedio {

StallWatch::StallWatch(Clock::time_point started, bool placeholder) : lastSign_(started), placeholder_(placeholder) {}

void StallWatch::FrameArrived(Clock::time_point now) {
    lastSign_ = now;
    placeholder_ = false;
    notice_ = false;
}

bool StallWatch::Update(Clock::time_point now) {
    if (notice_ || now - lastSign_ < kPatience) return false;
    // The restart's placeholder is another moment's picture: it goes with the notice.
    notice_ = true;
    placeholder_ = false;
    return true;
}

}  // namespace vedio
