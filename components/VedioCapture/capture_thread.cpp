#include "capture_thread.h"

namespace vedio {

StopSignal::StopSignal() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool StopSignal::Requested() const { return WaitFor(std::chrono::milliseconds(0)); }

bool StopSignal::WaitFor(std::chrono::milliseconds duration) const {
    if (!event_) return true;  // no event: nothing could tell us to go on
    const auto ms = duration.count() < 0 ? 0 : duration.count();
    return ::WaitForSingleObject(event_.get(), static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

void StopSignal::Raise() const {
    if (event_) ::SetEvent(event_.get());
}

struct CaptureThread::Shared {
    StopSignal stop;
    StopSignal finished;  // raised by the thread when its body has returned
};

CaptureThread::CaptureThread(Body body) : shared_(std::make_shared<Shared>()) {
    thread_ = std::thread([shared = shared_, body = std::move(body)] {
        try {
            body(shared->stop);
        } catch (...) {
            // A camera that fails ends its preview, never the program.
        }
        shared->finished.Raise();
    });
}

CaptureThread::~CaptureThread() { Stop(); }

std::shared_ptr<const StopSignal> CaptureThread::Finished() const {
    return std::shared_ptr<const StopSignal>(shared_, &shared_->finished);
}

bool CaptureThread::Stop(std::chrono::milliseconds patience) {
    if (!thread_.joinable()) return true;
    shared_->stop.Raise();
    if (shared_->finished.WaitFor(patience)) {
        thread_.join();
        return true;
    }
    thread_.detach();  // it holds `shared_` and its body's state, and ends by itself
    return false;
}

}  // namespace vedio
