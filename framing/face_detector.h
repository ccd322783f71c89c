// Finding a frontal face in a grey picture, and where the head around it lies.
// Portable: the live check runs it on a reduced copy of the camera frame off the interface
// thread, and the native tests run it on real photographs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace framing {

// A grey picture owned by someone else: one byte a pixel, top row first, `stride` bytes
// from one row to the next.
struct GrayView {
    const std::uint8_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
};

// A face found, in pixels of the searched picture.
struct FaceBox {
    int x, y, width, height;
};

// The faces in `image`, overlapping hits merged into one box each, the largest first.
// Faces are found from 45 pixels wide (the cascade's window, which spans brows to mouth) up
// to the picture's height: on a 320-pixel-wide copy, a face narrower than a seventh of the
// width is not found. Empty when there is none, or when the picture is smaller than 45 x 45.
// About 7 to 10 ms of one core on a 320 x 180 picture (bench/run-framing).
std::vector<FaceBox> FindFaces(const GrayView& image);

// A reduced grey copy of a picture, owning its pixels (stride == width).
struct GrayImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    GrayView View() const;
};

// A reduced grey copy of a 32-bit BGRX picture (top row first, `stride` bytes a row), at most
// `maxWidth` wide: reduced by a whole-pixel box average, keeping the aspect, never enlarged.
GrayImage ReduceToGray(const std::uint8_t* bgrx, int width, int height, std::ptrdiff_t stride, int maxWidth);

// Where the head is, estimated from a face box, in the same pixels as the box: the middle of
// the head across, the top of the head with its hair (crown), the chin, the line through the
// eyes and the head's width (ears included, hair as it lies). Calibrated on real photographs.
// The crown is a guess from the face box's ratios until the picture is measured
// (framing/head_measure.h).
struct HeadEstimate {
    double centerX, crownY, chinY, eyeY, width;
    bool crownMeasured = false;
};
HeadEstimate EstimateHead(const FaceBox& face);

}  // namespace framing
