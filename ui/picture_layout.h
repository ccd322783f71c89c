// Where a drawing board puts its picture, and what a BMP file's bytes hold. Portable, so
// the arithmetic and the checks on untrusted bytes are tested natively.
#pragma once

#include "ui/template.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ui {

// Centred placement: natural size when it fits, otherwise shrunk by one factor to fit,
// then centred; halves truncated.
Rect CentredPlacement(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// An uncompressed 24- or 32-bit BMP file whose pixel rows all lie inside the bytes.
struct BmpView {
    int width = 0;
    int height = 0;          // always positive; see topDown
    bool topDown = false;
    int bitsPerPixel = 0;
    std::size_t pixelOffset = 0;
    std::size_t stride = 0;  // bytes per stored row
};

std::optional<BmpView> ParseBmp(std::span<const std::uint8_t> file);

}  // namespace ui
