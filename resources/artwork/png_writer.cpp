#include "png_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace artwork {

namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

// The largest payload of one stored deflate block.
constexpr std::size_t kStoredBlockMax = 65535;

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void PutLittleEndian16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// Appends length, type, data and the CRC over type and data.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t crcStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, Crc32(std::span(out).subspan(crcStart)));
}

// A zlib stream holding `raw` in stored blocks.
std::vector<std::uint8_t> ZlibStored(std::span<const std::uint8_t> raw) {
    std::vector<std::uint8_t> out;
    out.reserve(raw.size() + raw.size() / kStoredBlockMax * 5 + 16);
    // Deflate with a 32K window, no preset dictionary; 0x7801 is a multiple of 31.
    out.push_back(0x78);
    out.push_back(0x01);
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min(kStoredBlockMax, raw.size() - pos);
        const bool last = pos + len == raw.size();
        out.push_back(last ? 0x01 : 0x00);  // BFINAL, BTYPE 00, then padding to the byte
        PutLittleEndian16(out, static_cast<std::uint16_t>(len));
        PutLittleEndian16(out, static_cast<std::uint16_t>(~len));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
        pos += len;
    } while (pos < raw.size());
    PutBigEndian32(out, Adler32(raw));
    return out;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> data) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : data) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::span<const std::uint8_t> data) {
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kMod;
        b = (b + a) % kMod;
    }
    return b << 16 | a;
}

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint32_t> rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("EncodePng: the pixel count does not match the size");
    }
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);

    // Each row starts with its filter type: 0, the row as it is.
    std::vector<std::uint8_t> raw;
    raw.reserve(h * (1 + 4 * w));
    for (std::size_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (std::uint32_t p : rgba.subspan(y * w, w)) {
            raw.push_back(RedOf(p));
            raw.push_back(GreenOf(p));
            raw.push_back(BlueOf(p));
            raw.push_back(AlphaOf(p));
        }
    }

    std::vector<std::uint8_t> header;
    PutBigEndian32(header, static_cast<std::uint32_t>(width));
    PutBigEndian32(header, static_cast<std::uint32_t>(height));
    header.push_back(8);  // bits per channel
    header.push_back(6);  // colour type: RGB with alpha
    header.push_back(0);  // compression: deflate
    header.push_back(0);  // filter method: adaptive
    header.push_back(0);  // not interlaced

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace artwork
