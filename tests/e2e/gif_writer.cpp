#include "tests/e2e/gif_writer.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace e2e {

namespace {
constexpr int kPaletteSize = 256;
constexpr int kMinCodeSize = 8;
constexpr int kBuckets = 1 << 15;  // colours by their top five bits per channel

struct Palette {
    std::array<std::uint32_t, kPaletteSize> colours{};
    std::vector<std::int16_t> byBucket = std::vector<std::int16_t>(kBuckets, -1);

    static int Bucket(std::uint32_t rgb) {
        return static_cast<int>(((rgb >> 9) & 0x7C00u) | ((rgb >> 6) & 0x3E0u) | ((rgb >> 3) & 0x1Fu));
    }
    std::uint8_t IndexOf(std::uint32_t rgb) {
        std::int16_t& cached = byBucket[static_cast<std::size_t>(Bucket(rgb))];
        if (cached < 0) {
            int best = 0;
            long bestDistance = -1;
            for (int i = 0; i < kPaletteSize; ++i) {
                const long dr = static_cast<long>((rgb >> 16) & 0xFF) - static_cast<long>((colours[i] >> 16) & 0xFF);
                const long dg = static_cast<long>((rgb >> 8) & 0xFF) - static_cast<long>((colours[i] >> 8) & 0xFF);
                const long db = static_cast<long>(rgb & 0xFF) - static_cast<long>(colours[i] & 0xFF);
                const long distance = dr * dr + dg * dg + db * db;
                if (bestDistance < 0 || distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            cached = static_cast<std::int16_t>(best);
        }
        return static_cast<std::uint8_t>(cached);
    }
};

// The most frequent colour buckets of all frames, each as the mean of its pixels: screens
// of flat colours come out exact, camera pictures close.
Palette ChoosePalette(std::span<const GifFrame> frames) {
    std::vector<std::uint64_t> count(kBuckets), r(kBuckets), g(kBuckets), b(kBuckets);
    for (const GifFrame& frame : frames) {
        for (const std::uint32_t px : frame.pixels) {
            const auto k = static_cast<std::size_t>(Palette::Bucket(px));
            ++count[k];
            r[k] += (px >> 16) & 0xFF;
            g[k] += (px >> 8) & 0xFF;
            b[k] += px & 0xFF;
        }
    }
    std::vector<int> order(kBuckets);
    std::iota(order.begin(), order.end(), 0);
    std::partial_sort(order.begin(), order.begin() + kPaletteSize, order.end(),
                      [&](int x, int y) { return count[static_cast<std::size_t>(x)] > count[static_cast<std::size_t>(y)]; });
    Palette palette;
    for (int i = 0; i < kPaletteSize; ++i) {
        const auto k = static_cast<std::size_t>(order[static_cast<std::size_t>(i)]);
        if (count[k] == 0) break;
        palette.colours[static_cast<std::size_t>(i)] =
            static_cast<std::uint32_t>((r[k] / count[k]) << 16 | (g[k] / count[k]) << 8 | (b[k] / count[k]));
    }
    return palette;
}

class Output {
public:
    void Byte(std::uint8_t b) { bytes_.push_back(b); }
    void Word(int w) {
        Byte(static_cast<std::uint8_t>(w & 0xFF));
        Byte(static_cast<std::uint8_t>((w >> 8) & 0xFF));
    }
    void Text(const char* text) {
        while (*text) Byte(static_cast<std::uint8_t>(*text++));
    }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// LZW codes packed from the lowest bit, cut into sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    void Write(int code, int size) {
        bits_ |= static_cast<std::uint32_t>(code) << used_;
        used_ += size;
        while (used_ >= 8) {
            data_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
            bits_ >>= 8;
            used_ -= 8;
        }
    }
    void Finish(Output& out) {
        if (used_ > 0) data_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
        for (std::size_t at = 0; at < data_.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, data_.size() - at);
            out.Byte(static_cast<std::uint8_t>(n));
            for (std::size_t i = 0; i < n; ++i) out.Byte(data_[at + i]);
        }
        out.Byte(0);
    }

private:
    std::uint32_t bits_ = 0;
    int used_ = 0;
    std::vector<std::uint8_t> data_;
};

void WriteLzw(Output& out, std::span<const std::uint8_t> indices) {
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    constexpr int kMaxCode = 4095;
    // next[code * 256 + index]: the code of that string extended by the index; 0 for none.
    std::vector<std::uint16_t> next(static_cast<std::size_t>(kMaxCode + 1) * 256, 0);
    out.Byte(kMinCodeSize);
    CodeWriter codes;
    int codeSize = kMinCodeSize + 1;
    int lastCode = kEnd;
    codes.Write(kClear, codeSize);
    int current = -1;
    for (const std::uint8_t index : indices) {
        if (current < 0) {
            current = index;
            continue;
        }
        std::uint16_t& extended = next[static_cast<std::size_t>(current) * 256 + index];
        if (extended != 0) {
            current = extended;
            continue;
        }
        codes.Write(current, codeSize);
        extended = static_cast<std::uint16_t>(++lastCode);
        if (lastCode >= (1 << codeSize)) ++codeSize;
        if (lastCode == kMaxCode) {
            codes.Write(kClear, codeSize);
            std::fill(next.begin(), next.end(), 0);
            codeSize = kMinCodeSize + 1;
            lastCode = kEnd;
        }
        current = index;
    }
    if (current >= 0) codes.Write(current, codeSize);
    codes.Write(kClear, codeSize);
    codes.Write(kEnd, kMinCodeSize + 1);
    codes.Finish(out);
}
}  // namespace

std::vector<std::uint8_t> EncodeAnimatedGif(std::span<const GifFrame> frames) {
    if (frames.empty()) return {};
    const int width = frames[0].width;
    const int height = frames[0].height;
    const auto area = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return {};
    for (const GifFrame& f : frames)
        if (f.width != width || f.height != height || f.pixels.size() != area) return {};

    Palette palette = ChoosePalette(frames);
    Output out;
    out.Text("GIF89a");
    out.Word(width);
    out.Word(height);
    out.Byte(0xF7);  // a global table of 256 colours, 8 bits per primary
    out.Byte(0);
    out.Byte(0);
    for (const std::uint32_t c : palette.colours) {
        out.Byte(static_cast<std::uint8_t>(c >> 16));
        out.Byte(static_cast<std::uint8_t>(c >> 8));
        out.Byte(static_cast<std::uint8_t>(c));
    }
    out.Byte(0x21);  // loop for ever
    out.Byte(0xFF);
    out.Byte(11);
    out.Text("NETSCAPE2.0");
    out.Byte(3);
    out.Byte(1);
    out.Word(0);
    out.Byte(0);

    std::vector<std::uint8_t> previous;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        std::vector<std::uint8_t> indices(area);
        for (std::size_t i = 0; i < area; ++i) indices[i] = palette.IndexOf(frames[f].pixels[i]);
        // What changed since the frame before; a frame that changed nothing still shows.
        int left = 0, top = 0, right = width, bottom = height;
        if (!previous.empty()) {
            left = width, top = height, right = 0, bottom = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const auto i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
                    if (indices[i] == previous[i]) continue;
                    left = std::min(left, x), top = std::min(top, y);
                    right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
                }
            if (right <= left) left = 0, top = 0, right = 1, bottom = 1;
        }
        out.Byte(0x21);  // graphic control: leave the frame in place, then wait
        out.Byte(0xF9);
        out.Byte(4);
        out.Byte(0x04);
        out.Word(std::clamp(frames[f].delayCentiseconds, 0, 0xFFFF));
        out.Byte(0);
        out.Byte(0);
        out.Byte(0x2C);
        out.Word(left);
        out.Word(top);
        out.Word(right - left);
        out.Word(bottom - top);
        out.Byte(0);
        std::vector<std::uint8_t> part;
        part.reserve(static_cast<std::size_t>(right - left) * static_cast<std::size_t>(bottom - top));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                part.push_back(indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]);
        WriteLzw(out, part);
        previous = std::move(indices);
    }
    out.Byte(0x3B);
    return std::move(out.Bytes());
}

}  // namespace e2e
