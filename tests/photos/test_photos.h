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
    // Plain: one even colour above and beside the head wherever the frame may lie (the
    // measure must read the crown there). Busy: not so (it must say it cannot); Partly: plain
    // around the head, with something else further out.
    enum Backdrop { Plain, Partly, Busy } backdrop;
};

// Eileen Collins, NASA portrait (public domain), from python3-skimage.
inline constexpr FaceTruth kAstronaut{"astronaut.bmp", 512, 512, 225.5, 16, 101.5, 177.5, 147, true, FaceTruth::Partly};
// Grace Hopper, U.S. Navy portrait (public domain), from python-matplotlib-data; she wears a cap.
inline constexpr FaceTruth kGraceHopper{"grace_hopper.bmp", 512, 600, 263.5, 60, 187, 325, 219, false, FaceTruth::Busy};

// Before a flat backdrop (flat_backdrop.py): the photo's own backdrop made one colour and the
// picture widened on the top, left and right, by 300 pixels for the astronaut and by 600
// for Barkla.
inline constexpr FaceTruth kAstronautFlat{"astronaut_flat.bmp", 1112, 812, 525.5, 316, 401.5, 477.5, 147, true,
                                          FaceTruth::Plain};

// Henry Moseley (public domain by age), from python-xraylarch-doc; grey, mottled backdrop
// with his crown 6 pixels below the top. The top of his hair is lit nearly as light as the
// backdrop: a flat backdrop grown from it takes the hair's top too, so there is none.
inline constexpr FaceTruth kMoseley{"moseley.bmp", 255, 393, 127.5, 6, 146, 271, 175, true, FaceTruth::Partly};
// Charles Barkla (public domain by age), from python-xraylarch-doc, reduced to a quarter;
// grey, his dark hair before a dark backdrop.
inline constexpr FaceTruth kBarkla{"barkla.bmp", 701, 921, 404.6, 14.6, 314.6, 681.6, 531, true, FaceTruth::Partly};
inline constexpr FaceTruth kBarklaFlat{"barkla_flat.bmp", 1901, 1521, 1004.6, 614.6, 914.6, 1281.6, 531, true,
                                       FaceTruth::Plain};

// The portraits as they were taken; and all of them, those before a flat backdrop as well.
inline constexpr FaceTruth kAll[] = {kAstronaut, kGraceHopper, kMoseley, kBarkla};
inline constexpr FaceTruth kEvery[] = {kAstronaut, kGraceHopper, kMoseley, kBarkla, kAstronautFlat, kBarklaFlat};

}  // namespace test_photos
