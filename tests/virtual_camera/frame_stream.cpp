#include "frame_stream.h"

#include "control_file.h"

#include <cstring>

namespace vcam {

namespace {
constexpr DWORD kFrameMilliseconds = 1000 / kFramesPerSecond;
}  // namespace

FrameStream::FrameStream(platform::ComPtr<IMemAllocator> allocator, platform::ComPtr<IMemInputPin> input,
                         VideoFormat format, platform::ComPtr<IMediaEventSink> events, IUnknown* device)
    : allocator_(std::move(allocator)),
      input_(std::move(input)),
      format_(format),
      events_(std::move(events)),
      device_(device),
      picture_(FrameBytes(format.pixels, format.size)),
      stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    DrawFrame(format_.pixels, format_.size, 0, picture_.data());
    if (!stop_) return;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        // Started() says so.
    }
}

FrameStream::~FrameStream() {
    if (stop_) ::SetEvent(stop_);
    if (allocator_) allocator_->Decommit();
    if (thread_.joinable()) thread_.join();
    if (stop_) ::CloseHandle(stop_);
}

void FrameStream::Run() {
    // COM for the calls into the downstream filter, as a device's own thread has it.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool lost = false;
    DWORD next = ::GetTickCount();
    for (;;) {
        const DWORD now = ::GetTickCount();
        const DWORD wait = static_cast<LONG>(next - now) > 0 ? next - now : 0;
        if (::WaitForSingleObject(stop_, wait) == WAIT_OBJECT_0) break;
        next += kFrameMilliseconds;
        if (static_cast<LONG>(::GetTickCount() - next) > 0) next = ::GetTickCount();  // fell behind: no burst
        if (lost || !running_) continue;
        const Control control = ReadControl();
        if (control.lose) {
            // As a webcam pulled out: one event, then silence until the graph stops.
            lost = true;
            if (events_) events_->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(device_), 0);
            continue;
        }
        if (control.stall) continue;
        if (!DeliverOne()) break;
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
}

bool FrameStream::DeliverOne() {
    IMediaSample* sample = nullptr;
    // Fails once the allocator is decommitted: the graph is stopping.
    if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) return false;
    platform::ComPtr<IMediaSample> owned;
    *owned.put() = sample;
    BYTE* buffer = nullptr;
    const auto bytes = static_cast<long>(picture_.size());
    if (FAILED(sample->GetPointer(&buffer)) || !buffer || sample->GetSize() < bytes) return false;
    ++frame_;
    DrawMovingPart(format_.pixels, format_.size, frame_, picture_.data());
    std::memcpy(buffer, picture_.data(), picture_.size());
    sample->SetActualDataLength(bytes);
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(frame_) * kFrameInterval;
    REFERENCE_TIME end = start + kFrameInterval;
    sample->SetTime(&start, &end);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frame_ == 1);
    // A refused sample (the downstream filter flushing or stopping) is no reason to end:
    // the graph's stop ends the thread.
    input_->Receive(sample);
    return true;
}

}  // namespace vcam
