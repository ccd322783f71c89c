#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "icons.h"
#include "png_writer.h"

namespace artwork {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::uint32_t Big32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
std::uint32_t Little16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | std::uint32_t{b[at + 1]} << 8;
}
std::uint32_t Little32(std::span<const std::uint8_t> b, std::size_t at) {
    return Little16(b, at) | Little16(b, at + 2) << 16;
}

struct Chunk {
    std::string type;
    Bytes data;
};

// Splits a PNG into its chunks, checking the signature and every chunk's CRC.
std::vector<Chunk> ReadChunks(const Bytes& png) {
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), signature);
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = Big32(png, at);
        const auto body = std::span(png).subspan(at + 4, 4 + length);
        EXPECT_EQ(Big32(png, at + 8 + length), Crc32(body)) << "chunk at " << at;
        chunks.push_back({std::string(body.begin(), body.begin() + 4), Bytes(body.begin() + 4, body.end())});
        at += 12 + length;
    }
    return chunks;
}

// Undoes a zlib stream made of stored blocks, checking the header, LEN/NLEN and Adler-32.
Bytes InflateStored(const Bytes& z, int* blockCount) {
    EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
    Bytes out;
    std::size_t at = 2;
    *blockCount = 0;
    for (bool last = false; !last;) {
        EXPECT_EQ(z[at] & 0x06, 0) << "stored block";
        last = (z[at] & 1) != 0;
        const std::uint32_t len = Little16(z, at + 1);
        EXPECT_EQ(len ^ Little16(z, at + 3), 0xFFFFu);
        out.insert(out.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   z.begin() + static_cast<std::ptrdiff_t>(at + 5 + len));
        at += 5 + len;
        ++*blockCount;
    }
    EXPECT_EQ(at + 4, z.size());
    EXPECT_EQ(Big32(z, at), Adler32(out));
    return out;
}

TEST(Checksums, MatchPublishedValues) {
    EXPECT_EQ(Crc32(AsBytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(AsBytes("IEND")), 0xAE426082u);
    EXPECT_EQ(Crc32({}), 0u);
    EXPECT_EQ(Adler32(AsBytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(Adler32({}), 1u);
    // Long runs of 0xFF are where the sums must be reduced in time.
    EXPECT_EQ(Adler32(Bytes(100000, 0xFF)), 0x149A302Cu);
}

TEST(Png, HeaderDescribesEightBitRgbaAndPixelsRoundTrip) {
    // Not square, so a swapped width and height shows.
    const std::vector<std::uint32_t> pixels = {PackRgba(1, 2, 3, 4),       PackRgba(5, 6, 7, 8),
                                               PackRgba(9, 10, 11, 12),    PackRgba(0xFF, 0, 0x80, 0),
                                               PackRgba(0, 0xFF, 0, 0xFF), PackRgba(13, 14, 15, 16)};
    const auto chunks = ReadChunks(EncodePng(3, 2, pixels));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].data.empty());

    const Bytes& ihdr = chunks[0].data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(Big32(ihdr, 0), 3u);
    EXPECT_EQ(Big32(ihdr, 4), 2u);
    EXPECT_EQ(ihdr[8], 8);    // bit depth
    EXPECT_EQ(ihdr[9], 6);    // RGBA
    EXPECT_EQ(ihdr[12], 0);   // not interlaced

    int blocks = 0;
    const Bytes raw = InflateStored(chunks[1].data, &blocks);
    const Bytes expected = {0, 1, 2,  3,  4,  5,  6,  7,    8, 9, 10, 11, 12,
                            0, 0xFF, 0, 0x80, 0, 0, 0xFF, 0, 0xFF, 13, 14, 15, 16};
    EXPECT_EQ(raw, expected);
}

TEST(Png, LargePictureSpansSeveralStoredBlocks) {
    constexpr int kWidth = 200, kHeight = 100;  // 80100 bytes of rows: more than one block
    std::vector<std::uint32_t> pixels(kWidth * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 2654435761u);
    const auto chunks = ReadChunks(EncodePng(kWidth, kHeight, pixels));
    ASSERT_EQ(chunks.size(), 3u);
    int blocks = 0;
    const Bytes raw = InflateStored(chunks[1].data, &blocks);
    EXPECT_EQ(blocks, 2);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(kHeight * (1 + 4 * kWidth)));
    for (int y = 0; y < kHeight; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * (1 + 4 * kWidth);
        ASSERT_EQ(raw[row], 0) << "filter of row " << y;
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y * kWidth + x)];
            const std::size_t at = row + 1 + 4 * static_cast<std::size_t>(x);
            ASSERT_EQ(PackRgba(raw[at], raw[at + 1], raw[at + 2], raw[at + 3]), p) << x << "," << y;
        }
    }
}

TEST(Png, RejectsSizesThatDoNotMatchThePixels) {
    const std::vector<std::uint32_t> four(4);
    EXPECT_THROW(EncodePng(3, 2, four), std::invalid_argument);
    EXPECT_THROW(EncodePng(0, 0, {}), std::invalid_argument);
    EXPECT_THROW(EncodePng(-2, -2, four), std::invalid_argument);
}

TEST(Canvas, EdgesAreBlendedAndPaintKeepsItsColour) {
    constexpr std::uint32_t kRed = PackRgba(0xE8, 0x11, 0x23);
    constexpr std::uint32_t kWash = PackRgba(0x00, 0x88, 0xFF, 0x33);
    Canvas canvas(5, 1);
    canvas.Fill(RoundedRect(0, 0, 2.5, 1, 0), kWash);
    canvas.Fill(RoundedRect(0, 0, 1, 1, 0), kRed);
    canvas.Fill(RoundedRect(3, 0, 3.5, 1, 0), kRed);
    const Image image = canvas.Resolve();
    EXPECT_EQ(image.At(0, 0), kRed) << "opaque paint hides what lies under it";
    EXPECT_EQ(image.At(1, 0), kWash) << "translucent paint keeps its exact colour";
    // Half-covered pixels keep the colour and take half the alpha.
    EXPECT_EQ(image.At(2, 0), PackRgba(0x00, 0x88, 0xFF, 0x1A));
    EXPECT_EQ(image.At(3, 0), PackRgba(0xE8, 0x11, 0x23, 0x80));
    EXPECT_EQ(image.At(4, 0), 0u);
}

// Which pictures are drawn, and the layout of those the program loads.
void ExpectMirrorSymmetric(const Image& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            ASSERT_EQ(image.At(x, y), image.At(image.width - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(image.At(x, y), image.At(x, image.height - 1 - y)) << x << "," << y;
        }
    }
}

TEST(Pictures, ButtonsHaveTheirSizesTransparentCornersAndDistinctStates) {
    const std::array settings = {SettingsButton(ButtonState::Normal), SettingsButton(ButtonState::Hover),
                                 SettingsButton(ButtonState::Pressed)};
    const std::array close = {CloseButton(ButtonState::Normal), CloseButton(ButtonState::Hover),
                              CloseButton(ButtonState::Pressed)};
    for (const auto* set : {&settings, &close}) {
        const int side = set == &settings ? 29 : 30;
        for (const Image& image : *set) {
            EXPECT_EQ(image.width, side);
            EXPECT_EQ(image.height, side);
            EXPECT_EQ(image.At(0, 0), 0u) << "the corners show the window behind";
            ExpectMirrorSymmetric(image);
        }
        const Image& normal = (*set)[0];
        EXPECT_EQ(AlphaOf(normal.At(side / 2, 1)), 0) << "no background when idle";
        EXPECT_NE(normal.pixels, (*set)[1].pixels);
        EXPECT_NE(normal.pixels, (*set)[2].pixels);
        EXPECT_NE((*set)[1].pixels, (*set)[2].pixels);
    }

    // The cog: a hole in the middle, a tooth straight above it, a gap between teeth.
    EXPECT_EQ(AlphaOf(settings[0].At(14, 14)), 0);
    EXPECT_EQ(settings[0].At(14, 7), kAccent);
    EXPECT_EQ(AlphaOf(settings[0].At(17, 7)), 0);
    EXPECT_EQ(settings[2].At(14, 7), PackRgba(0xFF, 0xFF, 0xFF));
    // The cross meets in the middle.
    EXPECT_EQ(close[0].At(14, 14), kAccent);
    EXPECT_EQ(close[1].At(14, 14), PackRgba(0xFF, 0xFF, 0xFF));
}

TEST(Icon, FileListsThreeUncompressedEntriesInsideTheFile) {
    const std::vector<Image> images = {ProgramIcon(16), ProgramIcon(32), ProgramIcon(48)};
    const Bytes ico = EncodeIco(images);
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    EXPECT_EQ(Little16(ico, 0), 0u);
    EXPECT_EQ(Little16(ico, 2), 1u);
    ASSERT_EQ(Little16(ico, 4), 3u);
    std::size_t expectedOffset = 6 + 3 * 16;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto entry = std::span(ico).subspan(6 + 16 * i, 16);
        const int side = images[i].width;
        EXPECT_EQ(entry[0], side);
        EXPECT_EQ(entry[1], side);
        EXPECT_EQ(Little16(entry, 6), 32u);
        const std::size_t size = Little32(entry, 8);
        const std::size_t offset = Little32(entry, 12);
        EXPECT_EQ(offset, expectedOffset) << "entries follow one another";
        ASSERT_LE(offset + size, ico.size());
        const auto dib = std::span(ico).subspan(offset, size);
        EXPECT_EQ(Little32(dib, 0), 40u);
        EXPECT_EQ(Little32(dib, 4), static_cast<std::uint32_t>(side));
        EXPECT_EQ(Little32(dib, 8), static_cast<std::uint32_t>(2 * side));
        EXPECT_EQ(Little16(dib, 14), 32u);
        EXPECT_EQ(Little32(dib, 16), 0u) << "BI_RGB, not PNG";
        EXPECT_EQ(size, 40 + 4u * side * side + ((side + 31) / 32 * 4) * side);
        expectedOffset += size;

        EXPECT_EQ(images[i].At(0, 0), 0u);
        EXPECT_EQ(images[i].At(side / 2, side / 2 - side / 8), PackRgba(0xFF, 0xFF, 0xFF)) << "the face";
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

TEST(Icon, PixelsAreStoredBottomUpAsBgraWithAMaskOverTransparentPixels) {
    const Image image{2, 2, {PackRgba(1, 2, 3, 4), 0, PackRgba(5, 6, 7, 8), PackRgba(9, 10, 11, 0)}};
    const Bytes ico = EncodeIco(std::span(&image, 1));
    const std::size_t bits = 6 + 16 + 40;
    ASSERT_EQ(ico.size(), bits + 16 + 2 * 4);
    const Bytes colours(ico.begin() + bits, ico.begin() + bits + 16);
    // The bottom row first; the transparent pixel is written black.
    const Bytes expected = {7, 6, 5, 8, 0, 0, 0, 0, 3, 2, 1, 4, 0, 0, 0, 0};
    EXPECT_EQ(colours, expected);
    EXPECT_EQ(Little32(ico, bits + 16), 0x40u) << "bottom row: the right pixel shows through";
    EXPECT_EQ(Little32(ico, bits + 20), 0x40u) << "top row: the right pixel shows through";

    EXPECT_THROW(EncodeIco({}), std::invalid_argument);
    const Image tooBig{257, 1, std::vector<std::uint32_t>(257)};
    EXPECT_THROW(EncodeIco(std::span(&tooBig, 1)), std::invalid_argument);
}

}  // namespace
}  // namespace artwork
