// The demonstration camera playing a still photograph instead of its test pattern: the photo
// read from a 24-bit BMP, and drawn into the camera's frame at a place and scale a test sets
// (and may change while the camera runs), so the test knows where every photo pixel lands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vedio::photo {

// A photo as read: blue, green, red, three bytes a pixel, top row first, rows packed.
struct StillPhoto {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};

// An uncompressed 24-bit BMP, rows stored either way up; nullopt for anything else or a
// file too short for what its header says.
std::optional<StillPhoto> ReadBmp(const std::uint8_t* data, std::size_t size);

// Where the photo goes: its top-left corner in frame pixels (either may be negative) and how
// many frame pixels one photo pixel spans. Photo pixel (px, py) lands at frame
// (x + px * scale, y + py * scale).
struct Placement {
    double x = 0;
    double y = 0;
    double scale = 1;
    bool operator==(const Placement&) const = default;
};

// "x y scale", numbers separated by blanks (a line end allowed); nullopt when malformed or
// the scale is not between 0.05 and 20.
std::optional<Placement> ParsePlacement(std::string_view text);

// The placement that shows the whole photo as large as fits, centred, in a frame of the
// given size.
Placement FitWhole(const StillPhoto& photo, int frameWidth, int frameHeight);

// Draws the photo, bilinearly scaled, into a 24-bit bottom-up DIB of frameWidth x frameHeight
// whose rows are `stride` bytes apart; the rest of the frame is mid grey.
void DrawPlaced(const StillPhoto& photo, const Placement& place, std::uint8_t* dib, int frameWidth, int frameHeight,
                std::ptrdiff_t stride);

}  // namespace vedio::photo
