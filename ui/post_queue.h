// Work handed from any thread to the thread that owns a window, run there one piece after
// another in the order it was handed over. Portable: the window supplies how to wake its
// thread (a posted message) and runs the queue when woken.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ui {

class PostQueue {
public:
    using Work = std::function<void()>;

    // `wake` is called on the posting thread when the owner's thread should run the queue;
    // never while a wake is still pending, so a busy worker does not flood the thread.
    explicit PostQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

    // Queues `work`; false, and the work is dropped, once the queue is closed.
    bool Post(Work work);
    // On the owner's thread: runs what is queued, oldest first, until the queue is empty.
    // A piece that opens a box and so runs this again leaves the rest to that inner run,
    // which keeps the order.
    void RunPending();
    // On the owner's thread: runs what was posted so far, then refuses more.
    void Close();

private:
    void RunQueued();

    std::function<void()> wake_;
    std::mutex mutex_;
    std::deque<Work> work_;
    bool wakePending_ = false;
    bool closed_ = false;
};

// What a worker keeps to reach a window: copyable, and safe to use after the window is gone
// (posting then does nothing and answers false).
class Poster {
public:
    Poster() = default;
    explicit Poster(std::shared_ptr<PostQueue> queue) : queue_(std::move(queue)) {}
    bool Post(PostQueue::Work work) const { return queue_ && queue_->Post(std::move(work)); }

private:
    std::shared_ptr<PostQueue> queue_;
};

}  // namespace ui
