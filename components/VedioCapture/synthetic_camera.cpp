#include "synthetic_camera.h"

#include "still_photo.h"
#include "test_pattern.h"
#include "platform/files.h"
#include "platform/host.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

namespace vedio {

namespace {
using Clock = std::chrono::steady_clock;

// Frozen: one frame, then nothing (a stalled device). Still: the same picture at the full
// rate (a live camera looking at a still scene). Silent: runs, but no frame ever comes.
enum class Fault { None, Unplugged, Frozen, Still, Silent, SlowStop };

std::wstring Environment(const wchar_t* name) { return platform::EnvironmentValue(name).value_or(L""); }

Fault FaultFromEnvironment() {
    const std::wstring fault = Environment(L"ORVIA_DEMO_CAMERA_FAULT");
    if (fault == L"unplugged") return Fault::Unplugged;
    if (fault == L"frozen") return Fault::Frozen;
    if (fault == L"still") return Fault::Still;
    if (fault == L"silent") return Fault::Silent;
    if (fault == L"slow-stop") return Fault::SlowStop;
    return Fault::None;
}

// The file's bytes; none when it is not there or cannot be read.
std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
    if (path.empty()) return {};
    return platform::ReadWholeFile(path).value_or(std::vector<std::uint8_t>{});
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
        const std::wstring path = Environment(L"ORVIA_DEMO_PHOTO");
        if (path.empty()) return std::nullopt;
        PhotoPlayer player;
        const auto bytes = FileBytes(path);
        if (auto photo = photo::ReadBmp(bytes.data(), bytes.size())) player.photo_ = std::move(*photo);
        player.placeFile_ = Environment(L"ORVIA_DEMO_PHOTO_PLACE");
        return player;
    }

    // Draws the frame again when the place has changed since the last one drawn.
    void Draw(std::uint64_t frame, std::uint8_t* pixels) {
        if (frame % (pattern::kFramesPerSecond / 5) == 0 || !drawn_) {
            const auto text = FileBytes(placeFile_);
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

// ORVIA_DEMO_MARKER names a text file holding a colour as "#RRGGBB", read again five times a
// second: the camera then shows that colour over the whole picture, so that a photo taken at
// any zoom tells a test which trainee stood before the camera (the test writes the colour of
// the card it lays on the reader). Until a colour has been read, and while the file cannot be
// read, the camera shows what it would show without one.
class MarkerPlayer {
public:
    static std::optional<MarkerPlayer> FromEnvironment() {
        MarkerPlayer player;
        player.file_ = Environment(L"ORVIA_DEMO_MARKER");
        if (player.file_.empty()) return std::nullopt;
        return player;
    }

    // Draws the marker when it has one; false when the frame is left to the other pictures.
    bool Draw(std::uint64_t frame, std::uint8_t* pixels) {
        if (frame % (pattern::kFramesPerSecond / 5) == 0 || !colour_) {
            const auto text = FileBytes(file_);
            if (const auto read = ParseColour(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())))
                colour_ = read;
        }
        if (!colour_) return false;
        for (int y = 0; y < pattern::kHeight; ++y) {
            std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pattern::kStride;
            for (int x = 0; x < pattern::kWidth; ++x) {
                row[3 * x] = static_cast<std::uint8_t>(*colour_ & 0xFF);
                row[3 * x + 1] = static_cast<std::uint8_t>((*colour_ >> 8) & 0xFF);
                row[3 * x + 2] = static_cast<std::uint8_t>((*colour_ >> 16) & 0xFF);
            }
        }
        return true;
    }

private:
    // "#RRGGBB" (a line end after it allowed); none for anything else.
    static std::optional<std::uint32_t> ParseColour(std::string_view text) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
        if (text.size() != 7 || text[0] != '#') return std::nullopt;
        std::uint32_t colour = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data() + 1, end, colour, 16);
        if (error != std::errc() || stop != end) return std::nullopt;
        return colour;
    }

    std::wstring file_;
    std::optional<std::uint32_t> colour_;
};

constexpr auto kUnpluggedAfter = std::chrono::milliseconds(500);
constexpr auto kSlowStop = std::chrono::milliseconds(3000);
}  // namespace

bool DemoDevicesEnabled() { return Environment(L"ORVIA_DEMO_DEVICES") == L"1"; }

void RunSyntheticCamera(const std::shared_ptr<Presenter>& presenter, const StopSignal& stop) {
    constexpr auto kFrameTime = std::chrono::microseconds(1'000'000 / pattern::kFramesPerSecond);
    const Fault fault = FaultFromEnvironment();
    std::optional<PhotoPlayer> player = PhotoPlayer::FromEnvironment();
    std::optional<MarkerPlayer> marker = MarkerPlayer::FromEnvironment();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pattern::kStride) * pattern::kHeight);
    const SourceFrame frame{pixels.data(), pattern::kWidth, pattern::kHeight, pattern::kStride, PixelFormat::Bgr24,
                            true};

    const auto started = Clock::now();
    auto due = started;
    for (std::uint64_t number = 0; !stop.Requested(); ++number) {
        if (fault == Fault::Unplugged && Clock::now() - started > kUnpluggedAfter) return;
        if ((fault != Fault::Frozen || number == 0) && fault != Fault::Silent) {
            if (fault != Fault::Still || number == 0) {
                const bool marked = marker && marker->Draw(number, pixels.data());
                if (!marked && player)
                    player->Draw(number, pixels.data());
                else if (!marked)
                    pattern::Draw(number, pixels.data());
            }
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
