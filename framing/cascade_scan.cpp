#include "framing/cascade_scan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace framing {
namespace {

// Sums of the picture above and left of each point: (width + 1) x (height + 1), a zero row
// and column first. 32 bits hold any picture up to 16 million pixels.
struct Integral {
    int width = 0, height = 0;  // of the picture
    std::vector<std::uint32_t> sums;
    std::ptrdiff_t Stride() const { return width + 1; }
};

void BuildIntegral(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride, Integral& out) {
    out.width = width;
    out.height = height;
    out.sums.assign(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height + 1), 0);
    const std::ptrdiff_t s = out.Stride();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + y * stride;
        std::uint32_t* above = out.sums.data() + y * s;
        std::uint32_t* here = above + s;
        std::uint32_t rowSum = 0;
        for (int x = 0; x < width; ++x) {
            rowSum += row[x];
            here[x + 1] = above[x + 1] + rowSum;
        }
    }
}

// The integral at a point between grid points, read bilinearly: the sum of the picture
// above and left of it, as if each pixel's value were spread evenly over its square.
struct Sample {
    int index;
    float fraction;
};

std::vector<Sample> Samples(int count, double scale, int limit) {
    std::vector<Sample> samples(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        const double at = std::min(i * scale, static_cast<double>(limit));
        int index = static_cast<int>(at);
        if (index >= limit) index = limit - 1;
        samples[static_cast<std::size_t>(i)] = {index, static_cast<float>(at - index)};
    }
    return samples;
}

// The picture reduced by `scale` (>= 1), each pixel the mean of the area it covers.
void Reduce(const Integral& source, double scale, int width, int height, std::vector<std::uint8_t>& out) {
    out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto columns = Samples(width, scale, source.width);
    const auto rows = Samples(height, scale, source.height);
    const std::ptrdiff_t s = source.Stride();
    // The integral along each row line at the column samples, then down the rows.
    std::vector<float> line(static_cast<std::size_t>(width) + 1), previous(static_cast<std::size_t>(width) + 1);
    const float area = static_cast<float>(scale * scale);
    for (int y = 0; y <= height; ++y) {
        const Sample r = rows[static_cast<std::size_t>(y)];
        const std::uint32_t* top = source.sums.data() + r.index * s;
        const std::uint32_t* bottom = top + s;
        for (int x = 0; x <= width; ++x) {
            const Sample c = columns[static_cast<std::size_t>(x)];
            const float t = static_cast<float>(top[c.index]) +
                            c.fraction * static_cast<float>(top[c.index + 1] - top[c.index]);
            const float b = static_cast<float>(bottom[c.index]) +
                            c.fraction * static_cast<float>(bottom[c.index + 1] - bottom[c.index]);
            line[static_cast<std::size_t>(x)] = t + r.fraction * (b - t);
        }
        if (y > 0) {
            std::uint8_t* dest = out.data() + static_cast<std::ptrdiff_t>(y - 1) * width;
            for (int x = 0; x < width; ++x) {
                const float sum = line[static_cast<std::size_t>(x) + 1] - line[static_cast<std::size_t>(x)] -
                                  previous[static_cast<std::size_t>(x) + 1] + previous[static_cast<std::size_t>(x)];
                const float mean = sum / area + 0.5f;
                dest[x] = static_cast<std::uint8_t>(std::clamp(mean, 0.0f, 255.0f));
            }
        }
        std::swap(line, previous);
    }
}

// A feature's sixteen grid corners as offsets into one level's integral, from a window's
// top-left corner.
using Corners = std::array<std::int32_t, 16>;

std::vector<Corners> CornersFor(const cascade::Table& table, std::ptrdiff_t stride) {
    std::vector<Corners> all(static_cast<std::size_t>(table.featureCount));
    for (int f = 0; f < table.featureCount; ++f) {
        const cascade::Feature& feature = table.features[f];
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i)
                all[static_cast<std::size_t>(f)][static_cast<std::size_t>(j * 4 + i)] = static_cast<std::int32_t>(
                    (feature.y + j * feature.blockHeight) * stride + feature.x + i * feature.blockWidth);
    }
    return all;
}

// The feature's 8-bit code at the window whose corner is `at`: one bit per outer block,
// set when that block's sum is at least the centre's, clockwise from the top-left block
// (bit 7) to the left one (bit 0).
inline unsigned Code(const std::uint32_t* at, const Corners& c) {
    // Each corner is read once: the nine blocks share them.
    std::uint32_t q[16];
    for (std::size_t k = 0; k < 16; ++k) q[k] = at[c[k]];
    auto block = [&q](int i, int j) { return q[j * 4 + i] - q[j * 4 + i + 1] - q[j * 4 + 4 + i] + q[j * 4 + 5 + i]; };
    const std::uint32_t centre = block(1, 1);
    return (block(0, 0) >= centre ? 128u : 0u) | (block(1, 0) >= centre ? 64u : 0u) |
           (block(2, 0) >= centre ? 32u : 0u) | (block(2, 1) >= centre ? 16u : 0u) |
           (block(2, 2) >= centre ? 8u : 0u) | (block(1, 2) >= centre ? 4u : 0u) |
           (block(0, 2) >= centre ? 2u : 0u) | (block(0, 1) >= centre ? 1u : 0u);
}

bool PassesAllStages(const std::uint32_t* at, const cascade::Table& table, const std::vector<Corners>& corners) {
    for (int s = 0; s < table.stageCount; ++s) {
        const cascade::Stage& stage = table.stages[s];
        float total = 0.0f;
        const cascade::WeakClassifier* weak = table.weak + stage.firstWeak;
        for (int k = 0; k < stage.weakCount; ++k, ++weak) {
            const unsigned code = Code(at, corners[weak->feature]);
            const bool inSet = (weak->codes[code >> 5] >> (code & 31u)) & 1u;
            total += inSet ? weak->inSet : weak->outOfSet;
        }
        if (total < stage.threshold) return false;
    }
    return true;
}

}  // namespace

std::vector<FaceBox> ScanForHits(const GrayView& image, const cascade::Table& table, const ScanSettings& settings) {
    std::vector<FaceBox> hits;
    if (image.pixels == nullptr || image.width < table.windowWidth || image.height < table.windowHeight) return hits;

    Integral source;
    BuildIntegral(image.pixels, image.width, image.height, image.stride, source);
    std::vector<std::uint8_t> reduced;
    Integral reducedLevel;
    for (double scale = 1.0;; scale *= settings.scaleStep) {
        const int width = static_cast<int>(image.width / scale);
        const int height = static_cast<int>(image.height / scale);
        if (width < table.windowWidth || height < table.windowHeight) break;
        if (scale != 1.0) {
            Reduce(source, scale, width, height, reduced);
            BuildIntegral(reduced.data(), width, height, width, reducedLevel);
        }
        const Integral& level = scale == 1.0 ? source : reducedLevel;
        const auto corners = CornersFor(table, level.Stride());
        const int step = scale < settings.fineStepBelow ? 2 : 1;
        const int size = static_cast<int>(std::lround(table.windowWidth * scale));
        for (int y = 0; y + table.windowHeight <= height; y += step) {
            const std::uint32_t* row = level.sums.data() + y * level.Stride();
            for (int x = 0; x + table.windowWidth <= width; x += step) {
                if (PassesAllStages(row + x, table, corners))
                    hits.push_back({static_cast<int>(std::lround(x * scale)), static_cast<int>(std::lround(y * scale)), size,
                                    static_cast<int>(std::lround(table.windowHeight * scale))});
            }
        }
    }
    return hits;
}

}  // namespace framing
