#include "frame_scaler.h"

#include "yuv_convert.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define VEDIO_SCALER_SSE2 1
#endif

namespace vedio {

namespace {

// Horizontally scaled rows hold each channel as value x 2^7 in 16 bits: a signed 16-bit
// lane holds it, and a rounding error of 1/256 of a level is far below what shows.
constexpr int kRowBits = 7;
constexpr std::uint32_t kRowHalf = 1u << (kRowBits - 1);
// Horizontal weights sum to 2^14: they fit signed 16-bit lanes, and a channel times a
// weight, shifted by 7, is value x 2^7.
constexpr std::uint32_t kHorizontalWeightSum = 1u << 14;
// Vertical weights sum to 2^16, so a two-row blend is two 16-bit high-half products.
constexpr std::uint32_t kVerticalWeightSum = 1u << 16;
// The unused channel is carried as 255 x 2^7, so every blend of it comes out 0xFF.
constexpr std::uint16_t kOpaque = 255u << kRowBits;

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

// The horizontal pass over one source row, kStep bytes per source pixel. Two-tap weights
// come as eight per target pixel, (w0 w1) for blue, green and red, then (0 0): the operands
// of one 16-bit multiply-add. Only the three colour channels are written.
template <int kStep>
void TwoTaps(const std::uint8_t* pixels, const std::int32_t* first, const std::uint16_t* weights, int from,
             int count, std::uint16_t* out) {
    for (int x = from; x < count; ++x) {
        const std::uint8_t* left = pixels + kStep * first[x];
        const std::uint32_t w0 = weights[8 * x];
        const std::uint32_t w1 = weights[8 * x + 1];
        for (int c = 0; c < 3; ++c) {
            out[4 * x + c] = static_cast<std::uint16_t>((left[c] * w0 + left[kStep + c] * w1 + kRowHalf) >> kRowBits);
        }
    }
}

template <int kStep>
void ManyTaps(const std::uint8_t* pixels, const AxisTaps& axis, int count, std::uint16_t* out) {
    for (int x = 0; x < count; ++x) {
        const std::uint8_t* p = pixels + kStep * axis.first[static_cast<std::size_t>(x)];
        const std::uint32_t* w = axis.weights.data() + static_cast<std::ptrdiff_t>(x) * axis.taps;
        std::uint32_t sums[3] = {kRowHalf, kRowHalf, kRowHalf};
        for (int k = 0; k < axis.taps; ++k) {
            for (int c = 0; c < 3; ++c) sums[c] += p[kStep * k + c] * w[k];
        }
        for (int c = 0; c < 3; ++c) out[4 * x + c] = static_cast<std::uint16_t>(sums[c] >> kRowBits);
    }
}

#ifdef VEDIO_SCALER_SSE2
// Two target pixels a step: an 8-byte load holds both taps' channels, which are paired up
// (b0 b1 g0 g1 r0 r1 ..) for one multiply-add with the pixel's weights. Stops where such a
// load would pass the row's last pixel, and returns there; the plain loop does the rest.
template <int kStep>
int TwoTapsSse2(const std::uint8_t* pixels, int sourceWidth, const std::int32_t* first,
                const std::uint16_t* weights, int count, std::uint16_t* out) {
    const int lastFirst = sourceWidth - (8 + kStep - 1) / kStep;
    const int end = static_cast<int>(std::upper_bound(first, first + count, lastFirst) - first);
    const __m128i zero = _mm_setzero_si128();
    const int half = static_cast<int>(kRowHalf);
    const __m128i round = _mm_set_epi32(static_cast<int>(std::uint32_t{kOpaque} << kRowBits) + half, half, half, half);
    const auto pixel = [&](int x) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels + kStep * first[x]));
        const __m128i channels = _mm_unpacklo_epi8(bytes, zero);
        const __m128i pairs = _mm_unpacklo_epi16(channels, _mm_srli_si128(channels, 2 * kStep));
        const __m128i pairWeights = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * x));
        return _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(pairs, pairWeights), round), kRowBits);
    };
    int x = 0;
    for (; x + 2 <= end; x += 2) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packs_epi32(pixel(x), pixel(x + 1)));
    }
    return x;
}
#endif

template <int kStep>
void ScaleRow(const std::uint8_t* pixels, [[maybe_unused]] int sourceWidth, const AxisTaps& axis,
              const std::uint16_t* pairWeights, int count, std::uint16_t* out) {
    if (axis.taps != 2) {
        ManyTaps<kStep>(pixels, axis, count, out);
        return;
    }
    int done = 0;
#ifdef VEDIO_SCALER_SSE2
    done = TwoTapsSse2<kStep>(pixels, sourceWidth, axis.first.data(), pairWeights, count, out);
#endif
    TwoTaps<kStep>(pixels, axis.first.data(), pairWeights, done, count, out);
}

// The vertical pass: from horizontally scaled rows to target bytes.
void NarrowOneRow(const std::uint16_t* row, int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((row[i] + kRowHalf) >> kRowBits);
}

// Weights below 2^16 each: the sum of two high halves stays within 16 bits.
void BlendTwoRows(const std::uint16_t* a, std::uint16_t weightA, const std::uint16_t* b, std::uint16_t weightB,
                  int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i) {
        const auto high = static_cast<std::uint16_t>(
            static_cast<std::uint16_t>((std::uint32_t{a[i]} * weightA) >> 16) +
            static_cast<std::uint16_t>((std::uint32_t{b[i]} * weightB) >> 16));
        out[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(high + kRowHalf) >> kRowBits);
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

    pairWeights_.assign(horizontal_.taps == 2 ? 8 * static_cast<std::size_t>(targetWidth) : 0, 0);
    for (std::size_t i = 0; i < pairWeights_.size(); ++i) {
        if (i % 8 < 6) pairWeights_[i] = static_cast<std::uint16_t>(horizontal_.weights[i / 8 * 2 + i % 2]);
    }
    recipes_.assign(static_cast<std::size_t>(targetHeight), RowRecipe{});
    for (std::size_t y = 0; y < recipes_.size(); ++y) {
        RowRecipe& recipe = recipes_[y];
        const std::uint32_t* weights = vertical_.weights.data() + y * static_cast<std::size_t>(vertical_.taps);
        for (int k = 0; k < vertical_.taps; ++k) {
            const std::uint32_t weight = weights[k];
            if (weight == 0) continue;
            if (recipe.count < 2) {
                recipe.rows[recipe.count] = vertical_.first[y] + k;
                recipe.weights[recipe.count] = static_cast<std::uint16_t>(weight);  // below 2^16 when two or more
            }
            ++recipe.count;
        }
    }
    const auto rowLength = static_cast<std::size_t>(targetWidth) * 4;
    rows_.assign(rowLength * static_cast<std::size_t>(vertical_.taps), 0);
    // Only some horizontal passes write the unused channel: every row holds it from here.
    for (std::size_t i = 3; i < rows_.size(); i += 4) rows_[i] = kOpaque;
    rowInSlot_.assign(static_cast<std::size_t>(vertical_.taps), -1);
    sums_.assign(vertical_.taps > 2 ? rowLength : 0, 0);
    converted_.assign(static_cast<std::size_t>(sourceWidth) * 4, 0);
}

const std::uint16_t* FrameScaler::ScaledRow(const SourceFrame& source, int row) {
    const auto slot = static_cast<std::size_t>(row % vertical_.taps);
    std::uint16_t* scaled = rows_.data() + slot * static_cast<std::size_t>(targetWidth_) * 4;
    if (rowInSlot_[slot] != row) {
        if (IsYuv(source.format)) {
            // Converted one row at a time into a buffer that stays in the cache, then
            // scaled as 32-bit: each source row is converted once per frame.
            ConvertYuvRow(source, row, converted_.data());
            ScaleRow<4>(converted_.data(), sourceWidth_, horizontal_, pairWeights_.data(), targetWidth_, scaled);
            rowInSlot_[slot] = row;
            return scaled;
        }
        const std::ptrdiff_t memoryRow = source.bottomUp ? source.height - 1 - row : row;
        const std::uint8_t* pixels = source.pixels + memoryRow * source.stride;
        if (source.format == PixelFormat::Bgr24) {
            ScaleRow<3>(pixels, sourceWidth_, horizontal_, pairWeights_.data(), targetWidth_, scaled);
        } else {
            ScaleRow<4>(pixels, sourceWidth_, horizontal_, pairWeights_.data(), targetWidth_, scaled);
        }
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
    constexpr int kShift = kRowBits + 16;  // value x 2^7, weights x 2^16
    for (int i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((sums[i] + (1u << (kShift - 1))) >> kShift);
}

}  // namespace vedio
