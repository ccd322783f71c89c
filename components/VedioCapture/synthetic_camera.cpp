#include "synthetic_camera.h"

#include "still_photo.h"
#include "test_pattern.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vedio {

namespace {
using Clock = std::chrono::steady_clock;

enum class Fault { None, Unplugged, Frozen, SlowStop };

std::wstring Environment(const wchar_t* name) {
    wchar_t value[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32);
    return length > 0 && length < 32 ? std::wstring(value, length) : std::wstring();
}

Fault FaultFromEnvironment() {
    const std::wstring fault = Environment(L"ORVIA_DEMO_CAMERA_FAULT");
    if (fault == L"unplugged") return Fault::Unplugged;
    if (fault == L"frozen") return Fault::Frozen;
    if (fault == L"slow-stop") return Fault::SlowStop;
    return Fault::None;
}

// A variable of any length (a file path), empty when unset.
std::wstring LongEnvironment(const wchar_t* name) {
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (needed <= 1) return {};
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

std::vector<std::uint8_t> FileBytes(const std::wstring& path, std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    if (path.empty()) return bytes;
    const std::unique_ptr<FILE, int (*)(FILE*)> file(::_wfopen(path.c_str(), L"rb"), &std::fclose);
    if (!file) return bytes;
    std::uint8_t chunk[16384];
    for (std::size_t got; bytes.size() < limit && (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

// ORVIA_DEMO_PHOTO names a 24-bit BMP the camera shows instead of its pattern (mid grey when
// it cannot be read); ORVIA_DEMO_PHOTO_PLACE names a text file "x y scale" that places it and
// that is read again five times a second, so a test can move the photo while the camera runs
// (writing a new file and renaming it over the old, so that no half-written place is read).
// Until a place has been read the whole photo is shown, centred; an unreadable place file
// later keeps the photo where it was.
class PhotoPlayer {
public:
    static std::optional<PhotoPlayer> FromEnvironment() {
        const std::wstring path = LongEnvironment(L"ORVIA_DEMO_PHOTO");
        if (path.empty()) return std::nullopt;
        PhotoPlayer player;
        const auto bytes = FileBytes(path, 64u << 20);
        if (auto photo = photo::ReadBmp(bytes.data(), bytes.size())) player.photo_ = std::move(*photo);
        player.placeFile_ = LongEnvironment(L"ORVIA_DEMO_PHOTO_PLACE");
        return player;
    }

    // Draws the frame again when the place has changed since the last one drawn.
    void Draw(std::uint64_t frame, std::uint8_t* pixels) {
        if (frame % (pattern::kFramesPerSecond / 5) == 0 || !drawn_) {
            const auto text = FileBytes(placeFile_, 256);
            const auto read = photo::ParsePlacement(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
            const photo::Placement place =
                read ? *read : drawn_ ? *drawn_ : photo::FitWhole(photo_, pattern::kWidth, pattern::kHeight);
            if (!drawn_ || !(place == *drawn_)) {
                photo::DrawPlaced(photo_, place, pixels, pattern::kWidth, pattern::kHeight, pattern::kStride);
                drawn_ = place;
            }
        }
    }

private:
    photo::StillPhoto photo_;
    std::wstring placeFile_;
    std::optional<photo::Placement> drawn_;
};

constexpr auto kUnpluggedAfter = std::chrono::milliseconds(500);
constexpr auto kSlowStop = std::chrono::milliseconds(3000);
}  // namespace

bool DemoDevicesEnabled() { return Environment(L"ORVIA_DEMO_DEVICES") == L"1"; }

void RunSyntheticCamera(const std::shared_ptr<Presenter>& presenter, const StopSignal& stop) {
    constexpr auto kFrameTime = std::chrono::microseconds(1'000'000 / pattern::kFramesPerSecond);
    const Fault fault = FaultFromEnvironment();
    std::optional<PhotoPlayer> player = PhotoPlayer::FromEnvironment();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pattern::kStride) * pattern::kHeight);
    const SourceFrame frame{pixels.data(), pattern::kWidth, pattern::kHeight, pattern::kStride, PixelFormat::Bgr24,
                            true};

    const auto started = Clock::now();
    auto due = started;
    for (std::uint64_t number = 0; !stop.Requested(); ++number) {
        if (fault == Fault::Unplugged && Clock::now() - started > kUnpluggedAfter) return;
        if (fault != Fault::Frozen || number == 0) {
            if (player)
                player->Draw(number, pixels.data());
            else
                pattern::Draw(number, pixels.data());
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
