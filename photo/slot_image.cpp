#include "photo/slot_image.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace photo {

namespace {

constexpr std::size_t kWidthField = 18;
constexpr std::size_t kHeightField = 22;
constexpr std::size_t kImageSizeField = 34;
constexpr std::uint32_t kInfoHeaderSize = 40;

void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The caller has made sure the four bytes are there.
std::int32_t ReadI32(std::span<const std::uint8_t> image, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(image[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

// Walks over bytes reading each one step brighter or darker. A vector built from a pair of
// these is written in a single pass that the compiler vectorises (min or max, then add), with
// no copy made first only to be overwritten.
template <Direction kDirection>
class SteppedBytes {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::uint8_t;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::uint8_t*;
    using reference = std::uint8_t;

    SteppedBytes() = default;
    explicit SteppedBytes(const std::uint8_t* at) : at_(at) {}

    std::uint8_t operator*() const { return Step(*at_); }
    std::uint8_t operator[](difference_type n) const { return Step(at_[n]); }
    SteppedBytes& operator+=(difference_type n) {
        at_ += n;
        return *this;
    }
    SteppedBytes& operator-=(difference_type n) { return *this += -n; }
    SteppedBytes& operator++() { return *this += 1; }
    SteppedBytes& operator--() { return *this -= 1; }
    SteppedBytes operator++(int) { return SteppedBytes(at_++); }
    SteppedBytes operator--(int) { return SteppedBytes(at_--); }
    friend SteppedBytes operator+(SteppedBytes it, difference_type n) { return it += n; }
    friend SteppedBytes operator+(difference_type n, SteppedBytes it) { return it += n; }
    friend SteppedBytes operator-(SteppedBytes it, difference_type n) { return it -= n; }
    friend difference_type operator-(SteppedBytes a, SteppedBytes b) { return a.at_ - b.at_; }
    friend bool operator==(SteppedBytes a, SteppedBytes b) = default;
    friend auto operator<=>(SteppedBytes a, SteppedBytes b) = default;

private:
    static std::uint8_t Step(std::uint8_t value) {
        constexpr unsigned step = kBrightnessStep;
        if constexpr (kDirection == Direction::Brighter) {
            return static_cast<std::uint8_t>(std::min(value + 0u, 255 - step) + step);
        } else {
            return static_cast<std::uint8_t>(std::max(value + 0u, step) - step);
        }
    }

    const std::uint8_t* at_ = nullptr;
};

// Calls `run(first, last)` for the stretches of pixel bytes the header describes, as file
// offsets: ascending, apart, and inside [54, size). The rows are where the header puts them,
// row r at 54 + r * stride, stride being image size over height. A header that lies is kept to
// the bytes at hand rather than refused: what lies before offset 54 or past the end is left
// out, and rows that touch or overlap make one stretch, which keeps the stretches apart and the
// walk as long as the image, whatever the row count. Positions are computed in 64 bits, where
// no 32-bit field can overflow them.
template <typename Run>
void ForEachPixelRun(std::span<const std::uint8_t> image, Run&& run) {
    if (image.size() <= kBmpHeaderSize) return;
    const std::int64_t width = ReadI32(image, kWidthField);
    const std::int64_t height = ReadI32(image, kHeightField);
    const std::int64_t imageSize = ReadI32(image, kImageSizeField);
    if (width <= 0 || height <= 0) return;
    // |imageSize / height| <= 2^31, so the truncated quotient fits.
    const auto stride =
        static_cast<std::int64_t>(std::trunc(static_cast<double>(imageSize) / static_cast<double>(height)));
    const std::int64_t rowBytes = 3 * width;
    const auto pixelBytes = static_cast<std::int64_t>(image.size() - kBmpHeaderSize);

    // Offsets from the first pixel byte, clipped to the pixel bytes there are.
    const auto clipped = [&](std::int64_t first, std::int64_t last) {
        first = std::max<std::int64_t>(first, 0);
        last = std::min(last, pixelBytes);
        if (first >= last) return;
        run(kBmpHeaderSize + static_cast<std::size_t>(first), kBmpHeaderSize + static_cast<std::size_t>(last));
    };
    if (stride <= 0) {
        clipped(0, rowBytes);  // every later row starts on or before the first
    } else if (stride <= rowBytes) {
        clipped(0, (height - 1) * stride + rowBytes);  // rows touch or overlap
    } else {
        for (std::int64_t row = 0; row < height && row * stride < pixelBytes; ++row) {
            clipped(row * stride, row * stride + rowBytes);
        }
    }
}

// Every byte stepped in one pass, then the bytes outside the pixel stretches (header, row
// padding, what follows the rows) given their own value back: a long pass and a few short
// copies cost less than a pass per row.
template <Direction kDirection>
std::vector<std::uint8_t> Stepped(std::span<const std::uint8_t> image) {
    using Stepping = SteppedBytes<kDirection>;
    const std::uint8_t* bytes = image.data();
    std::vector<std::uint8_t> adjusted(Stepping(bytes), Stepping(bytes + image.size()));
    std::size_t kept = 0;  // where the bytes not yet put back start
    ForEachPixelRun(image, [&](std::size_t first, std::size_t last) {
        std::copy(bytes + kept, bytes + first, adjusted.begin() + static_cast<std::ptrdiff_t>(kept));
        kept = last;
    });
    std::copy(bytes + kept, bytes + image.size(), adjusted.begin() + static_cast<std::ptrdiff_t>(kept));
    return adjusted;
}

}  // namespace

std::size_t BmpStride(int width) { return width > 0 ? ((24u * static_cast<std::size_t>(width) + 31) / 32) * 4 : 0; }

std::vector<std::uint8_t> MakeSlotImage(int width, int height, std::span<const std::uint8_t> bgrxTopDown,
                                        std::size_t sourceStride) {
    if (width <= 0 || height <= 0) return {};
    const std::uint64_t rows = static_cast<std::uint64_t>(height);
    const std::uint64_t sourceRow = 4 * static_cast<std::uint64_t>(width);
    // Source rows may be padded but never overlap; the last one needs only its pixels.
    if (sourceStride < sourceRow || bgrxTopDown.size() < sourceRow) return {};
    if (rows > 1 && (bgrxTopDown.size() - sourceRow) / (rows - 1) < sourceStride) return {};

    const std::uint64_t stride = BmpStride(width);
    const std::uint64_t imageSize = stride * rows;  // below 2^64: stride < 2^33, rows < 2^31
    if (imageSize > std::numeric_limits<std::uint32_t>::max() - kBmpHeaderSize) return {};  // sizes are 32-bit

    std::vector<std::uint8_t> file(kBmpHeaderSize + imageSize);  // zeros: reserved fields and row padding
    std::uint8_t* header = file.data();
    header[0] = 'B';
    header[1] = 'M';
    PutU32(header + 2, static_cast<std::uint32_t>(file.size()));
    PutU32(header + 10, static_cast<std::uint32_t>(kBmpHeaderSize));
    PutU32(header + 14, kInfoHeaderSize);
    PutU32(header + kWidthField, static_cast<std::uint32_t>(width));
    PutU32(header + kHeightField, static_cast<std::uint32_t>(height));  // positive: bottom row first
    PutU16(header + 26, 1);                                              // planes
    PutU16(header + 28, 24);                                             // bits per pixel
    PutU32(header + kImageSizeField, static_cast<std::uint32_t>(imageSize));

    const std::size_t pixels = static_cast<std::size_t>(width);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::uint8_t* from = bgrxTopDown.data() + (rows - 1 - row) * sourceStride;
        std::uint8_t* to = file.data() + kBmpHeaderSize + row * stride;
        for (std::size_t x = 0; x < pixels; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    return file;
}

std::vector<std::uint8_t> AdjustBrightness(std::span<const std::uint8_t> image, Direction direction) {
    switch (direction) {
        case Direction::Brighter: return Stepped<Direction::Brighter>(image);
        case Direction::Darker: return Stepped<Direction::Darker>(image);
    }
    return {image.begin(), image.end()};
}

}  // namespace photo
