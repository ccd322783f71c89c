// Turns a device frame into the preview picture: pixel conversion and scaling in one pass.
#pragma once

#include "frame.h"

#include <cstdint>
#include <vector>

namespace vedio {

// Which source samples make each target sample along one axis, and their weights. Every
// target index has `taps` weights (zeros where fewer samples contribute), summing to the
// weight sum the table was built for, starting at source index first[i]; first[i] + taps
// never passes the source length, so a zero-weight tap still lies inside the source.
struct AxisTaps {
    int taps = 0;
    std::vector<std::int32_t> first;
    std::vector<std::uint32_t> weights;  // taps per target index

    // Bilinear when enlarging or reducing up to 2x (pixel centres aligned, clamped at the
    // edges), coverage-weighted means when reducing by more, the sample itself at 1:1.
    static AxisTaps Build(int sourceLength, int targetLength, std::uint32_t weightSum);
};

class FrameScaler {
public:
    // Converts `source` (any PixelFormat) and scales it to fill `target` entirely. Each axis on its own:
    // bilinear when enlarging, area-averaging when reducing by more than 2x, an exact copy
    // at 1:1. Tables and row buffers are kept between calls of the same sizes, so a running
    // camera allocates nothing per frame. Empty or null frames leave the target untouched.
    // The target's unused fourth byte is always written as 0xFF.
    void Scale(const SourceFrame& source, const TargetImage& target);

private:
    // How one target row comes from horizontally scaled source rows: one row as it is, a
    // blend of two, or (count > 2) the vertical taps' weighted sum.
    struct RowRecipe {
        int count = 0;
        int rows[2] = {0, 0};
        std::uint16_t weights[2] = {0, 0};
    };

    void Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
    const std::uint16_t* ScaledRow(const SourceFrame& source, int row);
    void SumRows(const SourceFrame& source, int y, std::uint8_t* out);

    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int targetWidth_ = 0;
    int targetHeight_ = 0;
    AxisTaps horizontal_;
    // Two-tap horizontal weights, eight per target pixel: (w0 w1) thrice, then (0 0).
    std::vector<std::uint16_t> pairWeights_;
    AxisTaps vertical_;
    std::vector<RowRecipe> recipes_;
    // Horizontally scaled source rows: four 16-bit channels (value x 128) per target pixel,
    // in slots chosen by source row, so each source row is scaled once per frame.
    std::vector<std::uint16_t> rows_;
    std::vector<int> rowInSlot_;
    std::vector<std::uint32_t> sums_;  // vertical sums when many rows meet in one pixel
    std::vector<std::uint8_t> converted_;  // one YUV source row as 32-bit pixels
};

}  // namespace vedio
