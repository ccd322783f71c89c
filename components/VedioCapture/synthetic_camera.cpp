#include "synthetic_camera.h"

#include "test_pattern.h"

#include <chrono>
#include <string>
#include <vector>

namespace vedio {

namespace {
using Clock = std::chrono::steady_clock;

// Frozen: one frame, then nothing (a stalled device). Still: the same picture at the full
// rate (a live camera looking at a still scene). Silent: runs, but no frame ever comes.
enum class Fault { None, Unplugged, Frozen, Still, Silent, SlowStop };

std::wstring Environment(const wchar_t* name) {
    wchar_t value[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32);
    return length > 0 && length < 32 ? std::wstring(value, length) : std::wstring();
}

Fault FaultFromEnvironment() {
    const std::wstring fault = Environment(L"ORVIA_DEMO_CAMERA_FAULT");
    if (fault == L"unplugged") return Fault::Unplugged;
    if (fault == L"frozen") return Fault::Frozen;
    if (fault == L"still") return Fault::Still;
    if (fault == L"silent") return Fault::Silent;
    if (fault == L"slow-stop") return Fault::SlowStop;
    return Fault::None;
}

constexpr auto kUnpluggedAfter = std::chrono::milliseconds(500);
constexpr auto kSlowStop = std::chrono::milliseconds(3000);
}  // namespace

bool DemoDevicesEnabled() { return Environment(L"ORVIA_DEMO_DEVICES") == L"1"; }

void RunSyntheticCamera(const std::shared_ptr<Presenter>& presenter, const StopSignal& stop) {
    constexpr auto kFrameTime = std::chrono::microseconds(1'000'000 / pattern::kFramesPerSecond);
    const Fault fault = FaultFromEnvironment();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pattern::kStride) * pattern::kHeight);
    const SourceFrame frame{pixels.data(), pattern::kWidth, pattern::kHeight, pattern::kStride, PixelFormat::Bgr24,
                            true};

    const auto started = Clock::now();
    auto due = started;
    for (std::uint64_t number = 0; !stop.Requested(); ++number) {
        if (fault == Fault::Unplugged && Clock::now() - started > kUnpluggedAfter) return;
        if ((fault != Fault::Frozen || number == 0) && fault != Fault::Silent) {
            if (fault != Fault::Still || number == 0) pattern::Draw(number, pixels.data());
            presenter->Present(frame);
        }
        due += kFrameTime;
        const auto now = Clock::now();
        if (due < now) due = now;  // behind (a slow machine): no burst to catch up
        if (stop.WaitFor(std::chrono::duration_cast<std::chrono::milliseconds>(due - now))) break;
    }
    if (fault == Fault::SlowStop) ::Sleep(static_cast<DWORD>(kSlowStop.count()));
}

}  // namespace vedio
