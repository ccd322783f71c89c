// The real face photographs the tests use (tests/photos/README.md), and where the head truly
// is in each, in pixels of the full-size picture (top row 0). Marked by eye on enlarged crops
// with a 5-pixel grid: the crown where the hair ends on top, the eye line through both pupils,
// the chin at the lowest point of the jaw, the middle halfway between the pupils, the head
// width from the outermost hair (or ear) on the left to that on the right at ear height.
#pragma once

namespace test_photos {

struct FaceTruth {
    const char* file;  // in the folder ORVIA_TEST_PHOTOS
    int width, height;
    double middleX, crownY, eyeY, chinY, headWidth;
    bool crownSeen;  // false where a hat hides it (crownY is then a guess and not to be tested)
};

// Eileen Collins, NASA portrait (public domain), from python3-skimage.
inline constexpr FaceTruth kAstronaut{"astronaut.bmp", 512, 512, 225.5, 16, 101.5, 177.5, 147, true};
// Grace Hopper, U.S. Navy portrait (public domain), from python-matplotlib-data; she wears a cap.
inline constexpr FaceTruth kGraceHopper{"grace_hopper.bmp", 512, 600, 263.5, 60, 187, 325, 219, false};

inline constexpr FaceTruth kAll[] = {kAstronaut, kGraceHopper};

}  // namespace test_photos
