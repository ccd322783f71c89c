#include "frame_scaler.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace vedio {

namespace {

// Horizontal weights sum to 2^13: a channel (<= 255) times a weight stays below 2^21, so
// the three channels of a pixel, 21 bits apart in one 64-bit word, are weighted and summed
// together without carrying into each other.
constexpr std::uint32_t kHorizontalWeightSum = 1u << 13;
constexpr int kLaneBits = 21;
constexpr std::uint64_t kLaneRound = (1ull << 4) | (1ull << (4 + kLaneBits)) | (1ull << (4 + 2 * kLaneBits));
// Vertical weights sum to 2^16, so two-row blends use 16-bit high-half products.
constexpr std::uint32_t kVerticalWeightSum = 1u << 16;
// The unused channel, carried as 255 x 256 so every blend of it comes out 0xFF.
constexpr std::uint16_t kOpaque = 0xFF00;

int CountTaps(std::int64_t source, std::int64_t target) {
    if (source == target) return 1;
    if (source > 2 * target) return static_cast<int>(std::min(source, (source + target - 1) / target + 1));
    return static_cast<int>(std::min<std::int64_t>(source, 2));
}

// Coverage of source pixels by the span [i, i + 1) * source / target, measured in units of
// 1/target pixel so every overlap is a whole number; weights are quantised on the running
// total so they sum exactly to weightSum.
int AreaWeights(std::int64_t source, std::int64_t target, std::int64_t i, std::uint32_t weightSum,
                std::uint32_t* weights) {
    const std::int64_t begin = i * source;
    const std::int64_t end = begin + source;
    const std::int64_t firstPixel = begin / target;
    std::int64_t covered = 0;
    std::int64_t quantised = 0;
    for (std::int64_t pixel = firstPixel; pixel * target < end; ++pixel) {
        covered += std::min(end, (pixel + 1) * target) - std::max(begin, pixel * target);
        const std::int64_t next = (covered * weightSum + source / 2) / source;
        weights[pixel - firstPixel] = static_cast<std::uint32_t>(next - quantised);
        quantised = next;
    }
    return static_cast<int>(firstPixel);
}

// Source position of target centre i is ((2i + 1) * source - target) / (2 * target).
int BilinearWeights(std::int64_t source, std::int64_t target, std::int64_t i, std::uint32_t weightSum,
                    std::uint32_t* weights) {
    const std::int64_t numerator = (2 * i + 1) * source - target;
    const std::int64_t denominator = 2 * target;
    if (numerator <= 0) {
        weights[0] = weightSum;
        return 0;
    }
    const std::int64_t left = numerator / denominator;
    if (left >= source - 1) {
        weights[0] = weightSum;
        return static_cast<int>(source - 1);
    }
    const std::int64_t right = ((numerator % denominator) * weightSum + denominator / 2) / denominator;
    weights[0] = weightSum - static_cast<std::uint32_t>(right);
    weights[1] = static_cast<std::uint32_t>(right);
    return static_cast<int>(left);
}

// Spreads one pixel's blue, green and red into the lanes of a 64-bit word.
inline std::uint64_t Spread(const std::uint8_t* pixel) {
    return pixel[0] | (std::uint64_t{pixel[1]} << kLaneBits) | (std::uint64_t{pixel[2]} << (2 * kLaneBits));
}

template <int kBytesPerPixel>
void SpreadPixels(const std::uint8_t* pixels, int width, std::uint64_t* out) {
    for (int x = 0; x < width; ++x) out[x] = Spread(pixels + kBytesPerPixel * x);
}

// Rounds the weighted lanes to 16-bit channels of value x 256; the fourth stays as it is.
inline void StoreLanes(std::uint64_t sum, std::uint16_t* out) {
    sum += kLaneRound;
    out[0] = static_cast<std::uint16_t>(sum >> 5);
    out[1] = static_cast<std::uint16_t>(sum >> (5 + kLaneBits));
    out[2] = static_cast<std::uint16_t>(sum >> (5 + 2 * kLaneBits));
}

void NarrowOneRow(const std::uint16_t* row, int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((row[i] + 128u) >> 8);
}

// Weights below 2^16 each: the sum of two high halves stays within 16 bits.
void BlendTwoRows(const std::uint16_t* a, std::uint16_t weightA, const std::uint16_t* b, std::uint16_t weightB,
                  int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i) {
        const auto high = static_cast<std::uint16_t>(
            static_cast<std::uint16_t>((std::uint32_t{a[i]} * weightA) >> 16) +
            static_cast<std::uint16_t>((std::uint32_t{b[i]} * weightB) >> 16));
        out[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(high + 128u) >> 8);
    }
}

}  // namespace

AxisTaps AxisTaps::Build(int sourceLength, int targetLength, std::uint32_t weightSum) {
    AxisTaps axis;
    if (sourceLength <= 0 || targetLength <= 0) return axis;
    const std::int64_t source = sourceLength;
    const std::int64_t target = targetLength;
    axis.taps = CountTaps(source, target);
    axis.first.resize(static_cast<std::size_t>(targetLength));
    axis.weights.assign(static_cast<std::size_t>(targetLength) * static_cast<std::size_t>(axis.taps), 0);
    for (std::int64_t i = 0; i < target; ++i) {
        std::uint32_t* weights = axis.weights.data() + i * axis.taps;
        int first = static_cast<int>(i);
        if (source == target) {
            weights[0] = weightSum;
        } else if (source > 2 * target) {
            first = AreaWeights(source, target, i, weightSum, weights);
        } else {
            first = BilinearWeights(source, target, i, weightSum, weights);
        }
        // Near the far edge, start earlier with leading zero weights to stay inside.
        const int overhang = first + axis.taps - sourceLength;
        if (overhang > 0) {
            std::copy_backward(weights, weights + axis.taps - overhang, weights + axis.taps);
            std::fill(weights, weights + overhang, 0u);
            first -= overhang;
        }
        axis.first[static_cast<std::size_t>(i)] = first;
    }
    return axis;
}

void FrameScaler::Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
    if (sourceWidth == sourceWidth_ && sourceHeight == sourceHeight_ && targetWidth == targetWidth_ &&
        targetHeight == targetHeight_) {
        return;
    }
    sourceWidth_ = sourceWidth;
    sourceHeight_ = sourceHeight;
    targetWidth_ = targetWidth;
    targetHeight_ = targetHeight;
    horizontal_ = AxisTaps::Build(sourceWidth, targetWidth, kHorizontalWeightSum);
    vertical_ = AxisTaps::Build(sourceHeight, targetHeight, kVerticalWeightSum);
    recipes_.assign(static_cast<std::size_t>(targetHeight), RowRecipe{});
    for (std::size_t y = 0; y < recipes_.size(); ++y) {
        RowRecipe& recipe = recipes_[y];
        for (int k = 0; k < vertical_.taps; ++k) {
            const std::uint32_t weight = vertical_.weights[y * static_cast<std::size_t>(vertical_.taps) + static_cast<std::size_t>(k)];
            if (weight == 0) continue;
            if (recipe.count < 2) {
                recipe.rows[recipe.count] = vertical_.first[y] + k;
                recipe.weights[recipe.count] = static_cast<std::uint16_t>(weight);  // below 2^16 when two or more
            }
            ++recipe.count;
        }
    }
    const auto rowLength = static_cast<std::size_t>(targetWidth) * 4;
    spread_.assign(static_cast<std::size_t>(sourceWidth), 0);
    rows_.assign(rowLength * static_cast<std::size_t>(vertical_.taps), 0);
    // The unused channel is never written by the horizontal pass: 255 x 256 once here.
    for (std::size_t i = 3; i < rows_.size(); i += 4) rows_[i] = kOpaque;
    rowInSlot_.assign(static_cast<std::size_t>(vertical_.taps), -1);
    sums_.assign(vertical_.taps > 2 ? rowLength : 0, 0);
}

void FrameScaler::SpreadRow(const SourceFrame& source, int row) {
    const std::ptrdiff_t memoryRow = source.bottomUp ? source.height - 1 - row : row;
    const std::uint8_t* pixels = source.pixels + memoryRow * source.stride;
    if (source.format == PixelFormat::Bgr24) {
        SpreadPixels<3>(pixels, source.width, spread_.data());
    } else {
        SpreadPixels<4>(pixels, source.width, spread_.data());
    }
}

void FrameScaler::ScaleRowHorizontally(std::uint16_t* out) const {
    const std::uint64_t* spread = spread_.data();
    const std::int32_t* first = horizontal_.first.data();
    const std::uint32_t* weights = horizontal_.weights.data();
    const int taps = horizontal_.taps;
    if (taps == 1) {
        for (int x = 0; x < targetWidth_; ++x) StoreLanes(spread[first[x]] * weights[x], out + 4 * x);
    } else if (taps == 2) {
        for (int x = 0; x < targetWidth_; ++x) {
            const std::uint64_t* pair = spread + first[x];
            StoreLanes(pair[0] * weights[2 * x] + pair[1] * weights[2 * x + 1], out + 4 * x);
        }
    } else {
        for (int x = 0; x < targetWidth_; ++x) {
            const std::uint64_t* pixels = spread + first[x];
            const std::uint32_t* w = weights + static_cast<std::ptrdiff_t>(x) * taps;
            std::uint64_t sum = 0;
            for (int k = 0; k < taps; ++k) sum += pixels[k] * w[k];
            StoreLanes(sum, out + 4 * x);
        }
    }
}

const std::uint16_t* FrameScaler::ScaledRow(const SourceFrame& source, int row) {
    const auto slot = static_cast<std::size_t>(row % vertical_.taps);
    std::uint16_t* scaled = rows_.data() + slot * static_cast<std::size_t>(targetWidth_) * 4;
    if (rowInSlot_[slot] != row) {
        SpreadRow(source, row);
        ScaleRowHorizontally(scaled);
        rowInSlot_[slot] = row;
    }
    return scaled;
}

void FrameScaler::Scale(const SourceFrame& source, const TargetImage& target) {
    if (source.pixels == nullptr || target.pixels == nullptr || source.width <= 0 || source.height <= 0 ||
        target.width <= 0 || target.height <= 0) {
        return;
    }
    Prepare(source.width, source.height, target.width, target.height);
    std::fill(rowInSlot_.begin(), rowInSlot_.end(), -1);  // a new frame: no row is scaled yet

    const int count = targetWidth_ * 4;
    for (int y = 0; y < targetHeight_; ++y) {
        std::uint8_t* out = target.pixels + y * target.stride;
        const RowRecipe& recipe = recipes_[static_cast<std::size_t>(y)];
        if (recipe.count == 1) {
            NarrowOneRow(ScaledRow(source, recipe.rows[0]), count, out);
        } else if (recipe.count == 2) {
            BlendTwoRows(ScaledRow(source, recipe.rows[0]), recipe.weights[0], ScaledRow(source, recipe.rows[1]),
                         recipe.weights[1], count, out);
        } else {
            SumRows(source, y, out);
        }
    }
}

void FrameScaler::SumRows(const SourceFrame& source, int y, std::uint8_t* out) {
    const int count = targetWidth_ * 4;
    const int taps = vertical_.taps;
    const std::uint32_t* weights = vertical_.weights.data() + static_cast<std::ptrdiff_t>(y) * taps;
    const int first = vertical_.first[static_cast<std::size_t>(y)];
    std::uint32_t* sums = sums_.data();
    std::fill(sums, sums + count, 0u);
    for (int k = 0; k < taps; ++k) {
        if (weights[k] == 0) continue;
        const std::uint16_t* row = ScaledRow(source, first + k);
        const std::uint32_t weight = weights[k];
        for (int i = 0; i < count; ++i) sums[i] += row[i] * weight;
    }
    for (int i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((sums[i] + (1u << 23)) >> 24);
}

}  // namespace vedio
