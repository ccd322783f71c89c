#include "test_pattern.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace vedio::pattern {

namespace {

constexpr std::array<std::uint8_t, kStride> MakeBarRow() {
    std::array<std::uint8_t, kStride> row{};
    for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t rgb = BarColourAt(x);
        row[static_cast<std::size_t>(3 * x)] = static_cast<std::uint8_t>(rgb);
        row[static_cast<std::size_t>(3 * x + 1)] = static_cast<std::uint8_t>(rgb >> 8);
        row[static_cast<std::size_t>(3 * x + 2)] = static_cast<std::uint8_t>(rgb >> 16);
    }
    return row;
}

// Every frame starts as copies of this row.
constexpr std::array<std::uint8_t, kStride> kBarRow = MakeBarRow();

// The figure, relative to its centre column. Its widest part, the shoulders, plus the sway
// stays inside kFigureArea.
constexpr int kHeadCentreY = 290;
constexpr int kHeadRadiusX = 85;
constexpr int kHeadRadiusY = 110;
constexpr int kNeckTop = 380;
constexpr int kNeckHalfWidth = 34;
constexpr int kShoulderCentreY = 560;
constexpr int kShoulderRadiusY = 110;
constexpr int kBodyHalfWidth = 150;
static_assert(kWidth / 2 - kSwayAmplitude - kBodyHalfWidth >= kFigureArea.left);
static_assert(kWidth / 2 + kSwayAmplitude + kBodyHalfWidth <= kFigureArea.right);
static_assert(kHeadCentreY - kHeadRadiusY >= kFigureArea.top);

// The counter's black box and its digits' cells, centred in the box.
constexpr Area kCounterBox = {12, 636, 288, 708};
constexpr int kDigitWidth = 28;
constexpr int kDigitGap = 12;
constexpr int kStroke = 6;
constexpr int kDigitsWidth = kCounterDigits * (kDigitWidth + kDigitGap) - kDigitGap;
constexpr int kDigitsLeft = kCounterBox.left + (kCounterBox.right - kCounterBox.left - kDigitsWidth) / 2;
constexpr int kDigitsTop = kCounterBox.top + (kCounterBox.bottom - kCounterBox.top - kDigitHeight) / 2;
static_assert(kCounterBox.left >= kCounterArea.left && kCounterBox.right <= kCounterArea.right);
static_assert(kCounterBox.top >= kCounterArea.top && kCounterBox.bottom <= kCounterArea.bottom);
static_assert(kDigitsLeft >= kCounterBox.left);

// Seven segments inside a digit cell, top, upper right, lower right, bottom, lower left,
// upper left, middle, and which of them each digit lights.
constexpr int kMiddleTop = (kDigitHeight - kStroke) / 2;
constexpr std::array<Area, 7> kSegments = {{
    {0, 0, kDigitWidth, kStroke},
    {kDigitWidth - kStroke, 0, kDigitWidth, kMiddleTop + kStroke},
    {kDigitWidth - kStroke, kMiddleTop, kDigitWidth, kDigitHeight},
    {0, kDigitHeight - kStroke, kDigitWidth, kDigitHeight},
    {0, kMiddleTop, kStroke, kDigitHeight},
    {0, 0, kStroke, kMiddleTop + kStroke},
    {0, kMiddleTop, kDigitWidth, kMiddleTop + kStroke},
}};
constexpr std::array<std::uint8_t, 10> kDigitSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Picture row y in the bottom-up DIB.
std::uint8_t* PictureRow(std::uint8_t* pixels, int y) { return pixels + (kHeight - 1 - y) * kStride; }

void FillSpan(std::uint8_t* pixels, int y, int left, int right, std::uint32_t rgb) {
    std::uint8_t* row = PictureRow(pixels, y);
    for (int x = left; x < right; ++x) {
        row[3 * x] = static_cast<std::uint8_t>(rgb);
        row[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
}

void FillArea(std::uint8_t* pixels, Area area, std::uint32_t rgb) {
    for (int y = area.top; y < area.bottom; ++y) FillSpan(pixels, y, area.left, area.right, rgb);
}

// Half the width of an ellipse's row dy from its centre; negative outside it.
int EllipseHalfWidth(int dy, int radiusX, int radiusY) {
    if (dy < -radiusY || dy > radiusY) return -1;
    const double t = static_cast<double>(dy) / radiusY;
    return static_cast<int>(std::lround(radiusX * std::sqrt(1.0 - t * t)));
}

// Head and neck first; the shoulders cover the neck's lower end, so the two always meet.
void DrawFigure(std::uint8_t* pixels, int centreX) {
    for (int y = kHeadCentreY - kHeadRadiusY; y < kHeight; ++y) {
        if (y >= kNeckTop && y < kShoulderCentreY) {
            FillSpan(pixels, y, centreX - kNeckHalfWidth, centreX + kNeckHalfWidth, kSkinColour);
        }
        const int head = EllipseHalfWidth(y - kHeadCentreY, kHeadRadiusX, kHeadRadiusY);
        if (head > 0) FillSpan(pixels, y, centreX - head, centreX + head, kSkinColour);
        if (y >= kShoulderCentreY - kShoulderRadiusY) {
            const int half = y >= kShoulderCentreY
                                 ? kBodyHalfWidth
                                 : EllipseHalfWidth(y - kShoulderCentreY, kBodyHalfWidth, kShoulderRadiusY);
            FillSpan(pixels, y, centreX - half, centreX + half, kClothesColour);
        }
    }
}

void DrawDigit(std::uint8_t* pixels, int left, int top, int digit) {
    const std::uint8_t lit = kDigitSegments[static_cast<std::size_t>(digit)];
    for (std::size_t s = 0; s < kSegments.size(); ++s) {
        if ((lit >> s & 1) == 0) continue;
        const Area& segment = kSegments[s];
        FillArea(pixels, {left + segment.left, top + segment.top, left + segment.right, top + segment.bottom}, kWhite);
    }
}

void DrawCounter(std::uint8_t* pixels, std::uint64_t frame) {
    FillArea(pixels, kCounterBox, kBlack);
    for (int i = kCounterDigits - 1; i >= 0; --i) {
        DrawDigit(pixels, kDigitsLeft + i * (kDigitWidth + kDigitGap), kDigitsTop, static_cast<int>(frame % 10));
        frame /= 10;
    }
}

}  // namespace

int FigureOffset(std::uint64_t frame) {
    const double phase = static_cast<double>(frame % kSwayPeriodFrames) / kSwayPeriodFrames;
    return static_cast<int>(std::lround(kSwayAmplitude * std::sin(2 * std::numbers::pi * phase)));
}

void Draw(std::uint64_t frame, std::uint8_t* pixels) {
    if (pixels == nullptr) return;
    for (int y = 0; y < kHeight; ++y) std::memcpy(PictureRow(pixels, y), kBarRow.data(), kBarRow.size());
    DrawFigure(pixels, kWidth / 2 + FigureOffset(frame));
    DrawCounter(pixels, frame);
}

}  // namespace vedio::pattern
