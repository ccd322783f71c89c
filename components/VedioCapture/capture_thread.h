// A thread that feeds a presenter until it is told to stop. Stopping waits only briefly:
// a device that hangs keeps its thread, which ends on its own once the device returns,
// holding everything it uses.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace vedio {

class StopSignal {
public:
    StopSignal();
    bool Requested() const;
    // Waits up to `duration`; true when the stop came meanwhile.
    bool WaitFor(std::chrono::milliseconds duration) const;
    HANDLE Event() const { return event_.get(); }
    void Raise() const;

private:
    struct EventOwner {
        void operator()(HANDLE h) const { if (h) ::CloseHandle(h); }
    };
    std::unique_ptr<void, EventOwner> event_;
};

class CaptureThread {
public:
    using Body = std::function<void(const StopSignal&)>;

    explicit CaptureThread(Body body);
    ~CaptureThread();  // stops with the patience below
    CaptureThread(const CaptureThread&) = delete;
    CaptureThread& operator=(const CaptureThread&) = delete;

    // Raises the stop and waits up to `patience` for the body to return; then lets the
    // thread go on alone. True when it ended in time.
    bool Stop(std::chrono::milliseconds patience = std::chrono::milliseconds(400));

    // Raised once the body has returned, even after the thread was let go.
    std::shared_ptr<const StopSignal> Finished() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace vedio
