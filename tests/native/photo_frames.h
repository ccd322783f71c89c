// Camera frames made from the real face photographs for the face tests: a photo placed
// and scaled in a frame exactly as the demonstration camera places it.
#pragma once

#include "still_photo.h"
#include "test_photos.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace photo_frames {

inline std::string PhotoPath(const test_photos::FaceTruth& truth) {
    return std::string(ORVIA_TEST_PHOTOS_DIR) + "/" + truth.file;
}

// The photo, or nullopt when the folder is not configured (the caller skips).
inline std::optional<vedio::photo::StillPhoto> LoadPhoto(const test_photos::FaceTruth& truth) {
    if (std::string(ORVIA_TEST_PHOTOS_DIR).empty()) return std::nullopt;
    std::ifstream in(PhotoPath(truth), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto photo = vedio::photo::ReadBmp(bytes.data(), bytes.size());
    EXPECT_TRUE(photo) << "cannot read " << PhotoPath(truth) << " (scripts/lib/common.sh fetches it)";
    return photo;
}

#define SKIP_WITHOUT_PHOTOS() \
    if (std::string(ORVIA_TEST_PHOTOS_DIR).empty())                                                           \
    GTEST_SKIP() << "no face photographs: configure with -DORVIA_TEST_PHOTOS=<folder>, as scripts/test does"

// A frame as the live check receives it: 32-bit BGRX, top row first.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgrx;
    std::ptrdiff_t Stride() const { return static_cast<std::ptrdiff_t>(width) * 4; }
};

// Turns a 24-bit bottom-up DIB into a frame.
inline Frame FromDib(const std::uint8_t* dib, int width, int height, std::ptrdiff_t stride) {
    Frame frame{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = dib + static_cast<std::ptrdiff_t>(height - 1 - y) * stride;
        std::uint8_t* out = frame.bgrx.data() + static_cast<std::ptrdiff_t>(y) * frame.Stride();
        for (int x = 0; x < width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        }
    }
    return frame;
}

inline Frame Placed(const vedio::photo::StillPhoto& photo, const vedio::photo::Placement& place, int width, int height) {
    const std::ptrdiff_t stride = ((static_cast<std::ptrdiff_t>(width) * 3) + 3) & ~std::ptrdiff_t{3};
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    vedio::photo::DrawPlaced(photo, place, dib.data(), width, height, stride);
    return FromDib(dib.data(), width, height, stride);
}

}  // namespace photo_frames
