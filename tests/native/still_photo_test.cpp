// The demonstration camera's still photo: reading the BMP, the place a test writes, and
// where the photo's pixels land in the frame.
#include "still_photo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using vedio::photo::Placement;

// A 24-bit BMP of `width` x `height` whose pixel (x, y) is (blue x, green y, red 7).
std::vector<std::uint8_t> Bmp(int width, int height, bool bottomUp, int bits = 24) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride * height), 0);
    auto put32 = [&file](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(bottomUp ? height : -height));
    file[26] = 1;
    file[28] = static_cast<std::uint8_t>(bits);
    for (int y = 0; y < height; ++y) {
        const int row = bottomUp ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = file.data() + 54 + row * stride + x * 3;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = 7;
        }
    }
    return file;
}

TEST(StillPhoto, ReadsA24BitBmpStoredEitherWayUp) {
    for (const bool bottomUp : {true, false}) {
        const auto file = Bmp(5, 3, bottomUp);
        const auto photo = vedio::photo::ReadBmp(file.data(), file.size());
        ASSERT_TRUE(photo);
        EXPECT_EQ(photo->width, 5);
        EXPECT_EQ(photo->height, 3);
        // Pixel (4, 2), top row first.
        const std::uint8_t* p = photo->bgr.data() + (2 * 5 + 4) * 3;
        EXPECT_EQ(p[0], 4);
        EXPECT_EQ(p[1], 2);
        EXPECT_EQ(p[2], 7);
    }
}

TEST(StillPhoto, RefusesWhatItCannotShow) {
    auto file = Bmp(5, 3, true);
    EXPECT_FALSE(vedio::photo::ReadBmp(file.data(), file.size() - 1));  // a row cut short
    EXPECT_FALSE(vedio::photo::ReadBmp(file.data(), 20));
    EXPECT_FALSE(vedio::photo::ReadBmp(nullptr, 0));
    const auto deep = Bmp(5, 3, true, 32);
    EXPECT_FALSE(vedio::photo::ReadBmp(deep.data(), deep.size()));
    auto compressed = file;
    compressed[30] = 1;
    EXPECT_FALSE(vedio::photo::ReadBmp(compressed.data(), compressed.size()));
    auto notBmp = file;
    notBmp[0] = 'P';
    EXPECT_FALSE(vedio::photo::ReadBmp(notBmp.data(), notBmp.size()));
}

TEST(StillPhoto, ReadsThePlaceATestWrites) {
    EXPECT_EQ(vedio::photo::ParsePlacement("120 -40 2.5\n"), (Placement{120, -40, 2.5}));
    EXPECT_EQ(vedio::photo::ParsePlacement("  0\t0 1 "), (Placement{0, 0, 1}));
    EXPECT_EQ(vedio::photo::ParsePlacement("10.5 20.25 0.5\r\n"), (Placement{10.5, 20.25, 0.5}));
    for (const char* bad : {"", "1 2", "1 2 3 4", "a 2 3", "1 2 0", "1 2 -1", "1 2 100", "1 2 nan", "1,5 2 3"})
        EXPECT_FALSE(vedio::photo::ParsePlacement(bad)) << '"' << bad << '"';
}

TEST(StillPhoto, DrawsEachPhotoPixelWhereThePlaceSays) {
    const auto file = Bmp(4, 4, true);
    const auto photo = vedio::photo::ReadBmp(file.data(), file.size());
    ASSERT_TRUE(photo);
    const int width = 64, height = 48;
    const std::ptrdiff_t stride = width * 3;
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride * height), 0);
    vedio::photo::DrawPlaced(*photo, {10, 6, 8}, dib.data(), width, height, stride);
    auto at = [&](int x, int y) { return dib.data() + (height - 1 - y) * stride + x * 3; };
    // Photo pixel (px, py) spans frame [10 + 8 px, 18 + 8 px) x [6 + 8 py, 14 + 8 py): its
    // centre shows the pixel's own colour.
    for (int py = 0; py < 4; ++py)
        for (int px = 0; px < 4; ++px) {
            const std::uint8_t* p = at(10 + 8 * px + 4, 6 + 8 * py + 4);
            EXPECT_EQ(p[0], px);
            EXPECT_EQ(p[1], py);
            EXPECT_EQ(p[2], 7);
        }
    EXPECT_EQ(at(5, 20)[0], 128);   // left of the photo: grey
    EXPECT_EQ(at(20, 45)[1], 128);  // below it
    EXPECT_EQ(at(63, 0)[2], 128);

    const Placement whole = vedio::photo::FitWhole(*photo, width, height);
    EXPECT_EQ(whole, (Placement{8, 0, 12}));

    // A photo that could not be read leaves the whole frame grey.
    vedio::photo::DrawPlaced({}, whole, dib.data(), width, height, stride);
    EXPECT_EQ(std::count(dib.begin(), dib.end(), 128), static_cast<long>(dib.size()));
}

}  // namespace
