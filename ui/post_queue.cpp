#include "ui/post_queue.h"

#include <utility>

namespace ui {

bool PostQueue::Post(Work work) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        work_.push_back(std::move(work));
        wake = !std::exchange(wakePending_, true);
    }
    if (wake && wake_) wake_();
    return true;
}

void PostQueue::RunPending() {
    {
        std::lock_guard lock(mutex_);
        if (!closed_) wakePending_ = false;
    }
    RunQueued();
}

void PostQueue::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    // Posted before the close, so still the window's work: none of it is dropped.
    RunQueued();
}

void PostQueue::RunQueued() {
    for (;;) {
        Work next;
        {
            std::lock_guard lock(mutex_);
            if (work_.empty()) return;
            next = std::move(work_.front());
            work_.pop_front();
        }
        next();
    }
}

}  // namespace ui
