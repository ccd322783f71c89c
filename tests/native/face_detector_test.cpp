// The face finder on real photographs placed in camera frames at several sizes and places,
// and on pictures with no face: the demonstration camera's colour bars and noise.
#include "framing/face_detector.h"
#include "photo_frames.h"
#include "test_pattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using photo_frames::Frame;

std::vector<framing::FaceBox> FindInFrame(const Frame& frame) {
    const framing::GrayImage gray = framing::ReduceToGray(frame.bgrx.data(), frame.width, frame.height, frame.Stride(), 320);
    return framing::FindFaces(gray.View());
}

struct Case {
    double eyeToChin;  // the face's true eye-to-chin distance in the reduced frame, pixels
    double middleX, eyeY;  // where its true middle and eye line land in the reduced frame
};

// 640 x 360 frames, reduced to 320 x 180 as the live check reduces them: faces from small to
// so large that the crown leaves the frame, left, centre and right.
constexpr Case kCases[] = {{50, 100, 70}, {50, 240, 110}, {70, 160, 60}, {70, 210, 75}, {95, 150, 55}};

TEST(FaceDetector, FindsTheFaceInEachPhotographWhereItTrulyIs) {
    SKIP_WITHOUT_PHOTOS();
    for (const auto& truth : test_photos::kAll) {
        const auto photo = photo_frames::LoadPhoto(truth);
        ASSERT_TRUE(photo);
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(truth.file) + " eye-to-chin " + std::to_string(c.eyeToChin) + " at " +
                         std::to_string(c.middleX) + "," + std::to_string(c.eyeY));
            // Reduced-frame pixels per photo pixel, and the placement in the 640-wide frame.
            const double scale = c.eyeToChin / (truth.chinY - truth.eyeY);
            const vedio::photo::Placement place{2 * (c.middleX - truth.middleX * scale), 2 * (c.eyeY - truth.eyeY * scale),
                                                2 * scale};
            const auto faces = FindInFrame(photo_frames::Placed(*photo, place, 640, 360));
            ASSERT_EQ(faces.size(), 1u);
            const framing::HeadEstimate head = framing::EstimateHead(faces[0]);
            const double e = c.eyeToChin;
            EXPECT_NEAR(head.centerX, c.middleX, 0.2 * e);
            EXPECT_NEAR(head.eyeY, c.eyeY, 0.2 * e);
            EXPECT_NEAR(head.chinY, c.eyeY + e, 0.3 * e);
            // Hair makes the width the loosest of the estimates (head_estimate.cpp).
            EXPECT_NEAR(head.width, truth.headWidth * scale, 0.35 * truth.headWidth * scale);
            // The crown guessed from the box (which the head's measure replaces where it can)
            // on the one portrait its ratio was taken from.
            if (truth.crownSeen && std::string(truth.file) == test_photos::kAstronaut.file) {
                EXPECT_NEAR(head.crownY, c.eyeY - (truth.eyeY - truth.crownY) * scale, 0.3 * e);
            }
        }
    }
}

TEST(FaceDetector, FindsTheFaceInAMirroredDimmedPhotograph) {
    SKIP_WITHOUT_PHOTOS();
    auto photo = photo_frames::LoadPhoto(test_photos::kAstronaut);
    ASSERT_TRUE(photo);
    const int w = photo->width;
    for (int y = 0; y < photo->height; ++y) {
        std::uint8_t* row = photo->bgr.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < w / 2; ++x)
            for (int k = 0; k < 3; ++k) std::swap(row[x * 3 + k], row[(w - 1 - x) * 3 + k]);
        for (int i = 0; i < w * 3; ++i) row[i] = static_cast<std::uint8_t>(row[i] * 2 / 5 + 10);  // a dim room
    }
    const auto& truth = test_photos::kAstronaut;
    const double scale = 0.9, left = -97, top = -20;  // the face in the middle of a 320 x 180 frame
    const auto faces = FindInFrame(photo_frames::Placed(*photo, {left, top, scale}, 320, 180));
    ASSERT_EQ(faces.size(), 1u);
    const auto head = framing::EstimateHead(faces[0]);
    const double e = (truth.chinY - truth.eyeY) * scale;
    EXPECT_NEAR(head.centerX, left + (w - 1 - truth.middleX) * scale, 0.2 * e);
    EXPECT_NEAR(head.eyeY, top + truth.eyeY * scale, 0.2 * e);
}

TEST(FaceDetector, FindsNoFaceInTheColourBars) {
    // The bars and the demonstration camera's drawn head: shapes, not a face.
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(vedio::pattern::kStride) * vedio::pattern::kHeight);
    for (std::uint64_t frame : {0u, 15u, 40u}) {
        vedio::pattern::Draw(frame, dib.data());
        const Frame bars =
            photo_frames::FromDib(dib.data(), vedio::pattern::kWidth, vedio::pattern::kHeight, vedio::pattern::kStride);
        EXPECT_TRUE(FindInFrame(bars).empty()) << "frame " << frame;
    }
}

TEST(FaceDetector, FindsNoFaceInNoise) {
    std::mt19937 random(1234);
    for (const int grain : {1, 3, 6}) {  // pixel noise, and blotches a few pixels wide
        std::vector<std::uint8_t> cells(static_cast<std::size_t>((320 / grain + 1) * (180 / grain + 1)));
        for (auto& v : cells) v = static_cast<std::uint8_t>(random() & 0xFF);
        std::vector<std::uint8_t> gray(320 * 180);
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 320; ++x)
                gray[static_cast<std::size_t>(y * 320 + x)] = cells[static_cast<std::size_t>((y / grain) * (320 / grain + 1) + x / grain)];
        EXPECT_TRUE(framing::FindFaces({gray.data(), 320, 180, 320}).empty()) << "grain " << grain;
    }
}

TEST(FaceDetector, FindsNothingInAPictureSmallerThanAFace) {
    const std::vector<std::uint8_t> gray(40 * 40, 128);
    EXPECT_TRUE(framing::FindFaces({gray.data(), 40, 40, 40}).empty());
    EXPECT_TRUE(framing::FindFaces({nullptr, 0, 0, 0}).empty());
}

TEST(ReduceToGray, KeepsTheAspectWithinTheWidthAndAveragesTheDroppedPixels) {
    // 2 x 2 blocks of black and white, pure green and a padded stride: 8 x 4 pixels, 40 bytes a row.
    const int width = 8, height = 4;
    const std::ptrdiff_t stride = 40;
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(stride * height), 0xEE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bgrx.data() + y * stride + x * 4;
            const bool white = x < 4 && (x + y) % 2 == 0;
            const bool green = x >= 4;
            p[0] = white ? 255 : 0;
            p[1] = white || green ? 255 : 0;
            p[2] = white ? 255 : 0;
        }
    const framing::GrayImage half = framing::ReduceToGray(bgrx.data(), width, height, stride, 4);
    ASSERT_EQ(half.width, 4);
    ASSERT_EQ(half.height, 2);
    EXPECT_NEAR(half.pixels[0], 127, 1);  // two white of four
    EXPECT_NEAR(half.pixels[3], 149, 2);  // green's brightness
    const auto view = half.View();
    EXPECT_EQ(view.stride, 4);
    EXPECT_EQ(view.pixels, half.pixels.data());

    const framing::GrayImage same = framing::ReduceToGray(bgrx.data(), width, height, stride, 320);
    EXPECT_EQ(same.width, width);  // never enlarged
    EXPECT_EQ(same.height, height);
    EXPECT_EQ(same.pixels[0], 255);
    EXPECT_EQ(same.pixels[1], 0);

    const framing::GrayImage third = framing::ReduceToGray(bgrx.data(), width, height, stride, 3);
    EXPECT_LE(third.width, 3);
    EXPECT_TRUE(framing::ReduceToGray(nullptr, width, height, stride, 3).pixels.empty());
}

}  // namespace
