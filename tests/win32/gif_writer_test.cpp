// The help illustrations' GIF encoder, read back by the platform's own GIF decoder.
#include "platform/com_ptr.h"
#include "platform/gdiplus.h"
#include "tests/e2e/gif_writer.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>
#include <memory>

namespace {

using e2e::GifFrame;

constexpr std::uint32_t kRed = 0xF80000, kBlue = 0x0000F8;

GifFrame Filled(int w, int h, std::uint32_t colour, int delay = 10) {
    GifFrame f;
    f.width = w;
    f.height = h;
    f.delayCentiseconds = delay;
    f.pixels.assign(static_cast<std::size_t>(w * h), colour);
    return f;
}

void Square(GifFrame& f, int left, int top, int size, std::uint32_t colour) {
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x) f.pixels[static_cast<std::size_t>(y * f.width + x)] = colour;
}

// The decoded animation, kept with the stream it reads from.
struct Decoded {
    platform::ComPtr<IStream> stream;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    UINT Frames() {
        GUID time = Gdiplus::FrameDimensionTime;
        return bitmap->GetFrameCount(&time);
    }
    std::uint32_t Pixel(UINT frame, int x, int y) {
        GUID time = Gdiplus::FrameDimensionTime;
        bitmap->SelectActiveFrame(&time, frame);
        Gdiplus::Color c;
        bitmap->GetPixel(x, y, &c);
        return static_cast<std::uint32_t>(c.GetR()) << 16 | static_cast<std::uint32_t>(c.GetG()) << 8 | c.GetB();
    }
};

Decoded Decode(const std::vector<std::uint8_t>& file) {
    Decoded d;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, file.size());
    std::memcpy(::GlobalLock(block), file.data(), file.size());
    ::GlobalUnlock(block);
    ::CreateStreamOnHGlobal(block, TRUE, d.stream.put());
    d.bitmap.reset(Gdiplus::Bitmap::FromStream(d.stream.get()));
    return d;
}

TEST(GifWriter, FramesDecodeAsDrawnWithOnlyTheChangedRectangleAfterTheFirst) {
    GifFrame first = Filled(40, 30, kRed);
    Square(first, 2, 2, 8, kBlue);
    GifFrame second = first;
    Square(second, 2, 2, 8, kRed);
    Square(second, 25, 15, 8, kBlue);
    const GifFrame third = second;  // nothing changed: still a frame of its own
    const std::vector<GifFrame> frames{first, second, third};
    const auto file = e2e::EncodeAnimatedGif(frames);
    ASSERT_GT(file.size(), 6u);
    EXPECT_EQ(std::memcmp(file.data(), "GIF89a", 6), 0);
    EXPECT_EQ(file.back(), 0x3B);

    Decoded d = Decode(file);
    ASSERT_TRUE(d.bitmap && d.bitmap->GetLastStatus() == Gdiplus::Ok);
    EXPECT_EQ(d.bitmap->GetWidth(), 40u);
    EXPECT_EQ(d.bitmap->GetHeight(), 30u);
    EXPECT_EQ(d.Frames(), 3u);
    EXPECT_EQ(d.Pixel(0, 5, 5), kBlue);
    EXPECT_EQ(d.Pixel(0, 30, 20), kRed);
    EXPECT_EQ(d.Pixel(0, 39, 29), kRed);
    EXPECT_EQ(d.Pixel(1, 5, 5), kRed);
    EXPECT_EQ(d.Pixel(1, 28, 18), kBlue);
}

TEST(GifWriter, ALargeBusyFrameSurvivesTheDictionaryFillingUpAgainAndAgain) {
    // 256 exact colours in a pattern that fills the 4096-entry dictionary many times.
    GifFrame busy = Filled(300, 200, 0);
    std::uint32_t seed = 12345;
    for (auto& px : busy.pixels) {
        seed = seed * 1103515245u + 12345u;
        const std::uint32_t k = (seed >> 16) & 0xFF;
        px = ((k & 0xE0) << 16) | ((k & 0x1C) << 11) | ((k & 0x03) << 6);  // distinct buckets, exact means
    }
    const auto file = e2e::EncodeAnimatedGif(std::vector<GifFrame>{busy});
    Decoded d = Decode(file);
    ASSERT_TRUE(d.bitmap && d.bitmap->GetLastStatus() == Gdiplus::Ok);
    int wrong = 0;
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 300; x += 3) wrong += d.Pixel(0, x, y) != busy.pixels[static_cast<std::size_t>(y * 300 + x)];
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(e2e::EncodeAnimatedGif(std::vector<GifFrame>{Filled(4, 4, 0), Filled(5, 4, 0)}).empty())
        << "frames of different sizes";
}

}  // namespace
