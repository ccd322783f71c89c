#include "framing/head_measure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace framing {

namespace {

// The backdrop is read from a band along the frame's top edge, this share of its height deep,
// cut across into this many pieces: a piece is plain when its pixels lie this close to its
// mean on average, and the backdrop is when the pieces beside the head are plain and change
// little from one to the next (a lamp or a lens darkens a backdrop gently toward the corners).
constexpr double kBandDepth = 0.025;
constexpr int kBandPieces = 10;
constexpr double kPlainSpread = 12;
constexpr int kPieceStep = 30;
// A pixel is no longer backdrop when one of its colours differs from the backdrop's by more
// than this, or by four times the backdrop's own spread where that is more: hair against any
// usual backdrop differs by far more, a soft shadow by less.
constexpr int kLeastContrast = 20;
constexpr double kSpreadsOfContrast = 4;
// The crown is looked for in the middle of the head, this share of its width to either side,
// and is where one in twenty of those columns has reached hair: the top of the hair's dome,
// past the few stray hairs that stand higher. A column reaches hair where three pixels in a
// row are not backdrop.
constexpr double kCrownColumns = 0.3;
constexpr double kCrownShare = 0.05;
constexpr int kHairRun = 3;
// A crown that makes the head shorter or longer than these shares of the face box's guess is
// something else (a collar edge, a poster on the wall): the guess stands.
constexpr double kShortestHead = 0.8;
constexpr double kLongestHead = 1.45;
// The top band's pieces count as backdrop beside the head outside this share of its width
// from its middle. An edge is the hair's only where the picture beside the head, outside this
// share of its width and down this share of its length from the edge, is still backdrop (at
// most this share of it not): an edge running across the whole picture is the backdrop's own
// (a lamp's shadow, the camera's picture ending).
constexpr double kBandBesideHead = 0.35;
constexpr double kSidesBesideHead = 0.4;
constexpr double kSidesDown = 0.08;
constexpr double kSidesMostlyBackdrop = 0.25;

// The chin is checked in a strip down the middle of the face, this share of the eye-to-chin
// distance to either side, from this far below the eyes (under the mouth) to this far. Where
// the strip darkens from above to below by this much over four rows, from these shares of the
// distance above the chin the ratio gives to these below it, is an edge; the jaw's is the
// lowest that darkens at least this share of the most any does (the neck lies in the jaw's
// shadow; a moustache, a lip or its shadow above it may darken more, a collar further down
// lies beyond the reach). On the marked portraits the edge lay within 6 px of the marked chin
// where the ratio missed it by up to 20.
constexpr double kChinStripHalfWidth = 0.15;
constexpr double kChinSearchFrom = 0.75;
constexpr double kChinSearchTo = 1.35;
constexpr double kChinEdge = 24;
constexpr double kChinReachUp = 0.15;
constexpr double kChinReachDown = 0.2;
constexpr double kChinShareOfMost = 0.4;

struct Rgb {
    int blue, green, red;
};

class Pixels {
public:
    explicit Pixels(const BgrxView& view) : view_(view) {}
    int Width() const { return view_.width; }
    int Height() const { return view_.height; }
    Rgb At(int x, int y) const {
        const std::uint8_t* p = view_.pixels + static_cast<std::ptrdiff_t>(y) * view_.stride + static_cast<std::ptrdiff_t>(x) * 4;
        return {p[0], p[1], p[2]};
    }
    int Luma(int x, int y) const {
        const Rgb c = At(x, y);
        return (c.red * 77 + c.green * 150 + c.blue * 29) >> 8;
    }

private:
    BgrxView view_;
};

int Difference(const Rgb& a, const Rgb& b) {
    return std::max({std::abs(a.blue - b.blue), std::abs(a.green - b.green), std::abs(a.red - b.red)});
}

struct Piece {
    int left, right;  // columns [left, right)
    Rgb mean;
    double spread;
    bool besideHead;
};

// The band along the top edge, cut into pieces, each with its mean colour and spread.
std::vector<Piece> TopBand(const Pixels& pixels, int depth, double headLeft, double headRight) {
    std::vector<Piece> pieces;
    for (int i = 0; i < kBandPieces; ++i) {
        const int left = pixels.Width() * i / kBandPieces, right = pixels.Width() * (i + 1) / kBandPieces;
        if (right <= left) continue;
        long sum[3] = {0, 0, 0};
        const long count = static_cast<long>(right - left) * depth;
        for (int y = 0; y < depth; ++y)
            for (int x = left; x < right; ++x) {
                const Rgb c = pixels.At(x, y);
                sum[0] += c.blue;
                sum[1] += c.green;
                sum[2] += c.red;
            }
        const Rgb mean{static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count), static_cast<int>(sum[2] / count)};
        double spread = 0;
        for (int y = 0; y < depth; ++y)
            for (int x = left; x < right; ++x) spread += Difference(pixels.At(x, y), mean);
        pieces.push_back({left, right, mean, spread / count, right <= headLeft || left >= headRight});
    }
    return pieces;
}

// The backdrop's colour above column x: from the nearest plain pieces beside the head on
// either side, weighted by how near each is.
Rgb BackdropAt(const std::vector<Piece>& beside, int x) {
    const Piece* left = nullptr;
    const Piece* right = nullptr;
    for (const Piece& piece : beside) {
        if (piece.right <= x) left = &piece;
        else if (!right && piece.left > x) right = &piece;
    }
    if (!left) return right->mean;
    if (!right) return left->mean;
    const double l = (left->left + left->right) / 2.0, r = (right->left + right->right) / 2.0;
    const double t = (x - l) / (r - l);
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return {mix(left->mean.blue, right->mean.blue), mix(left->mean.green, right->mean.green),
            mix(left->mean.red, right->mean.red)};
}

struct CrownResult {
    CrownReading reading;
    double crownY = 0;
};

CrownResult MeasureCrown(const Pixels& pixels, const HeadEstimate& estimate) {
    const int depth = std::max(3, static_cast<int>(std::lround(kBandDepth * pixels.Height())));
    const std::vector<Piece> band = TopBand(pixels, depth, estimate.centerX - kBandBesideHead * estimate.width,
                                            estimate.centerX + kBandBesideHead * estimate.width);
    std::vector<Piece> beside;
    double spread = 0;
    for (const Piece& piece : band) {
        if (!piece.besideHead) continue;
        if (piece.spread > kPlainSpread) return {CrownReading::BusyBackdrop};
        if (!beside.empty() && piece.left == beside.back().right && Difference(piece.mean, beside.back().mean) > kPieceStep)
            return {CrownReading::BusyBackdrop};
        beside.push_back(piece);
        spread = std::max(spread, piece.spread);
    }
    // At least two pieces of backdrop, one on either side of the head or two on one side.
    if (beside.size() < 2) return {CrownReading::BusyBackdrop};
    const int contrast = std::max(kLeastContrast, static_cast<int>(std::lround(kSpreadsOfContrast * spread)));
    std::vector<Rgb> backdrop(static_cast<std::size_t>(pixels.Width()));
    for (int x = 0; x < pixels.Width(); ++x) backdrop[static_cast<std::size_t>(x)] = BackdropAt(beside, x);

    const int from = std::max(0, static_cast<int>(std::lround(estimate.centerX - kCrownColumns * estimate.width)));
    const int to = std::min(pixels.Width(), static_cast<int>(std::lround(estimate.centerX + kCrownColumns * estimate.width)) + 1);
    const int lowest = std::clamp(static_cast<int>(std::lround(estimate.eyeY)), 0, pixels.Height());
    if (to - from < 3 || lowest <= depth) return {CrownReading::NoEdge};
    std::vector<int> tops;
    int touching = 0;
    for (int x = from; x < to; ++x) {
        int run = 0, top = lowest;
        for (int y = 0; y < lowest; ++y) {
            run = Difference(pixels.At(x, y), backdrop[static_cast<std::size_t>(x)]) > contrast ? run + 1 : 0;
            if (run == kHairRun) {
                top = y - kHairRun + 1;
                break;
            }
        }
        if (top < depth) ++touching;
        tops.push_back(top);
    }
    std::sort(tops.begin(), tops.end());
    const double crown = tops[static_cast<std::size_t>(kCrownShare * static_cast<double>(tops.size() - 1))];
    if (crown < depth || touching * 10 > static_cast<int>(tops.size())) return {CrownReading::TouchesTop};
    const double guessed = estimate.chinY - estimate.crownY, measured = estimate.chinY - crown;
    if (measured < kShortestHead * guessed || measured > kLongestHead * guessed) return {CrownReading::NoEdge};

    // Beside the head, below the edge, the backdrop goes on.
    const int sidesTop = static_cast<int>(crown);
    const int sidesBottom = std::min(pixels.Height(), sidesTop + std::max(4, static_cast<int>(kSidesDown * guessed)));
    const double sidesLeft = estimate.centerX - kSidesBesideHead * estimate.width;
    const double sidesRight = estimate.centerX + kSidesBesideHead * estimate.width;
    long sides = 0, notBackdrop = 0;
    for (int y = sidesTop; y < sidesBottom; ++y)
        for (int x = 0; x < pixels.Width(); ++x) {
            if (x >= sidesLeft && x <= sidesRight) continue;
            ++sides;
            if (Difference(pixels.At(x, y), backdrop[static_cast<std::size_t>(x)]) > contrast) ++notBackdrop;
        }
    if (sides == 0 || static_cast<double>(notBackdrop) > kSidesMostlyBackdrop * static_cast<double>(sides))
        return {CrownReading::NoEdge};
    return {CrownReading::Measured, crown};
}

std::optional<double> MeasureChin(const Pixels& pixels, const HeadEstimate& estimate) {
    const double eyeToChin = estimate.chinY - estimate.eyeY;
    if (eyeToChin <= 0) return std::nullopt;
    const int left = std::max(0, static_cast<int>(std::lround(estimate.centerX - kChinStripHalfWidth * eyeToChin)));
    const int right = std::min(pixels.Width(), static_cast<int>(std::lround(estimate.centerX + kChinStripHalfWidth * eyeToChin)) + 1);
    const int top = std::max(0, static_cast<int>(std::lround(estimate.eyeY + kChinSearchFrom * eyeToChin)));
    const int bottom = std::min(pixels.Height(), static_cast<int>(std::lround(estimate.eyeY + kChinSearchTo * eyeToChin)) + 1);
    if (right - left < 2 || bottom - top < 9) return std::nullopt;
    std::vector<double> rows;
    for (int y = top; y < bottom; ++y) {
        long sum = 0;
        for (int x = left; x < right; ++x) sum += pixels.Luma(x, y);
        rows.push_back(static_cast<double>(sum) / (right - left));
    }
    // How much darker the strip is two rows below than two rows above, at each row near the
    // ratio's chin where that is most around it.
    constexpr std::size_t kReach = 2;
    const double from = estimate.chinY - top - kChinReachUp * eyeToChin;
    const double to = estimate.chinY - top + kChinReachDown * eyeToChin;
    const auto darkening = [&](std::size_t i) { return rows[i - kReach] - rows[i + kReach]; };
    std::vector<std::pair<std::size_t, double>> edges;
    double most = 0;
    for (std::size_t i = kReach + 1; i + kReach + 1 < rows.size(); ++i) {
        const double d = darkening(i);
        if (static_cast<double>(i) < from || static_cast<double>(i) > to || d < kChinEdge) continue;
        if (d < darkening(i - 1) || d < darkening(i + 1)) continue;
        edges.emplace_back(i, d);
        most = std::max(most, d);
    }
    std::size_t edge = 0;
    for (const auto& [row, d] : edges)
        if (d >= kChinShareOfMost * most) edge = row;  // the lowest strong one
    if (edge == 0) return std::nullopt;
    return top + static_cast<double>(edge);
}

}  // namespace

HeadMeasure MeasureHead(const BgrxView& picture, const HeadEstimate& estimate) {
    HeadMeasure result{estimate, CrownReading::NoEdge, false};
    result.head.crownMeasured = false;
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0 || estimate.width <= 0) return result;
    const Pixels pixels(picture);
    if (const std::optional<double> chin = MeasureChin(pixels, estimate)) {
        result.head.chinY = *chin;
        result.chinMeasured = true;
    }
    const CrownResult crown = MeasureCrown(pixels, result.head);
    result.crown = crown.reading;
    if (crown.reading == CrownReading::Measured) {
        result.head.crownY = crown.crownY;
        result.head.crownMeasured = true;
    }
    return result;
}

}  // namespace framing
