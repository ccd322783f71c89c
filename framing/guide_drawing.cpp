#include "framing/guide_drawing.h"

#include "framing/guide_geometry.h"

#include <algorithm>
#include <cmath>

namespace framing {

namespace {
// The crown band's marks run across from this far beside the oval's middle line, this long.
constexpr double kCrownMarkGap = 36;
constexpr double kCrownMarkLength = 24;
// The eye band's brackets: this far in from the frame's edge, with arms this long.
constexpr double kBracketInset = 3;
constexpr double kBracketArm = 10;

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), scaleX_(width / double(kFrameWidth)), scaleY_(height / double(kFrameHeight)),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    // A line of frame pixels across (y fixed) or down (x fixed), kGuideLineWidth thick.
    void Across(double y, double x0, double x1) { Fill(x0, y - kGuideLineWidth / 2, x1, y + kGuideLineWidth / 2); }
    void Down(double x, double y0, double y1) { Fill(x - kGuideLineWidth / 2, y0, x + kGuideLineWidth / 2, y1); }

    // The outline of an ellipse: every pixel whose middle lies within half a line width of it,
    // the distance taken to first order (the value over the length of its gradient).
    void Ellipse(double cx, double cy, double halfWidth, double halfHeight) {
        const double a = halfWidth * scaleX_, b = halfHeight * scaleY_;
        const double px = cx * scaleX_, py = cy * scaleY_;
        const double reach = kGuideLineWidth / 2;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const double dx = x + 0.5 - px, dy = y + 0.5 - py;
                const double value = dx * dx / (a * a) + dy * dy / (b * b) - 1;
                const double gradient = 2 * std::sqrt(dx * dx / (a * a * a * a) + dy * dy / (b * b * b * b));
                if (gradient > 0 && std::abs(value) / gradient <= reach) Set(x, y);
            }
        }
    }

    std::vector<std::uint8_t> Take() { return std::move(pixels_); }

private:
    // A rectangle in frame pixels, the pixels whose middles lie inside it.
    void Fill(double x0, double y0, double x1, double y1) {
        const int left = std::max(0, static_cast<int>(std::ceil(x0 * scaleX_ - 0.5)));
        const int right = std::min(width_, static_cast<int>(std::ceil(x1 * scaleX_ - 0.5)));
        const int top = std::max(0, static_cast<int>(std::ceil(y0 * scaleY_ - 0.5)));
        const int bottom = std::min(height_, static_cast<int>(std::ceil(y1 * scaleY_ - 0.5)));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) Set(x, y);
    }
    void Set(int x, int y) { pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = 1; }

    int width_, height_;
    double scaleX_, scaleY_;
    std::vector<std::uint8_t> pixels_;
};
}  // namespace

std::vector<std::uint8_t> GuideMask(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    Canvas canvas(width, height);
    const GuideOutline o = GuideOutlineFor();
    canvas.Ellipse(o.ovalCentreX, o.ovalCentreY, o.ovalHalfWidth, o.ovalHalfHeight);
    for (const double y : {o.crownBand.low, o.crownBand.high}) {
        canvas.Across(y, o.ovalCentreX - kCrownMarkGap - kCrownMarkLength, o.ovalCentreX - kCrownMarkGap);
        canvas.Across(y, o.ovalCentreX + kCrownMarkGap, o.ovalCentreX + kCrownMarkGap + kCrownMarkLength);
    }
    const double left = kBracketInset, right = kFrameWidth - kBracketInset;
    canvas.Down(left, o.eyeBand.low, o.eyeBand.high);
    canvas.Down(right, o.eyeBand.low, o.eyeBand.high);
    for (const double y : {o.eyeBand.low, o.eyeBand.high}) {
        canvas.Across(y, left - kGuideLineWidth / 2, left + kBracketArm);
        canvas.Across(y, right - kBracketArm, right + kGuideLineWidth / 2);
    }
    return canvas.Take();
}

}  // namespace framing
