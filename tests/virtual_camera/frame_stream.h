// The virtual camera's streaming thread: about 30 frames a second of the test pattern into
// the connected input pin while the graph runs, following the tests' instructions before
// every frame (stall, report the device lost).
#pragma once

#include "media_types.h"
#include "platform/com_ptr.h"

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace vcam {

class FrameStream {
public:
    // `device` is the filter, named in the device-lost event; `events` may be null.
    FrameStream(platform::ComPtr<IMemAllocator> allocator, platform::ComPtr<IMemInputPin> input, VideoFormat format,
                platform::ComPtr<IMediaEventSink> events, IUnknown* device);
    // Stops the thread and waits for it: the allocator is decommitted first, so a thread
    // waiting for a buffer returns at once.
    ~FrameStream();
    FrameStream(const FrameStream&) = delete;
    FrameStream& operator=(const FrameStream&) = delete;

    // False when the thread could not be started.
    bool Started() const { return thread_.joinable(); }
    // Frames are delivered only while running (a paused live source sends nothing).
    void SetRunning(bool running) { running_ = running; }

private:
    void Run();
    bool DeliverOne();

    platform::ComPtr<IMemAllocator> allocator_;
    platform::ComPtr<IMemInputPin> input_;
    VideoFormat format_;
    platform::ComPtr<IMediaEventSink> events_;
    IUnknown* device_;
    std::vector<std::uint8_t> picture_;  // the frame drawn last; only its moving part changes
    std::uint64_t frame_ = 0;
    std::atomic<bool> running_{false};
    HANDLE stop_;
    std::thread thread_;
};

}  // namespace vcam
