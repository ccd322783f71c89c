#include "framing/face_detector.h"

#include "framing/cascade_scan.h"
#include "framing/hit_grouping.h"
#include "framing/lbp_cascade.h"

#include <algorithm>

namespace framing {

GrayView GrayImage::View() const {
    return GrayView{pixels.data(), width, height, width};
}

std::vector<FaceBox> FindFaces(const GrayView& image) {
    // Three neighbouring hits make a face: fewer let through patterns that pass once by chance.
    constexpr int kMinHits = 3;
    return GroupHits(ScanForHits(image, cascade::FrontalFace()), kMinHits);
}

GrayImage ReduceToGray(const std::uint8_t* bgrx, int width, int height, std::ptrdiff_t stride, int maxWidth) {
    GrayImage out;
    if (bgrx == nullptr || width <= 0 || height <= 0 || maxWidth <= 0) return out;
    const int factor = (width + maxWidth - 1) / maxWidth;
    out.width = width / factor;
    out.height = height / factor;
    out.pixels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            unsigned sum = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const std::uint8_t* p = bgrx + static_cast<std::ptrdiff_t>(y * factor + dy) * stride + x * factor * 4;
                for (int dx = 0; dx < factor; ++dx, p += 4) sum += (p[0] * 29u + p[1] * 150u + p[2] * 77u) >> 8;
            }
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = static_cast<std::uint8_t>(sum / (factor * factor));
        }
    }
    return out;
}

}  // namespace framing
