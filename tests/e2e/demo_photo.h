// The demonstration camera playing one of the test photographs (tests/photos) at a place the
// test sets and changes while it runs, and where the photographed head then lies in the
// preview frame.
#pragma once

#include "framing/face_detector.h"
#include "tests/e2e/harness.h"
#include "tests/photos/test_photos.h"
#include "ui/template.h"

namespace e2e {

// Where the photo lies in the camera's picture: its top-left corner and how many picture
// pixels one photo pixel spans.
struct PhotoPlace {
    double x = 0, y = 0, scale = 1;
};

class DemoPhoto {
public:
    // The photo `face` from ORVIA_TEST_PHOTOS, its place file in `programDir`.
    DemoPhoto(const std::wstring& programDir, const test_photos::FaceTruth& face);
    // False (the test is then skipped) when the build has no test photographs.
    bool Available() const;
    const test_photos::FaceTruth& Face() const { return face_; }
    // The demo camera listed, playing the photo at the place last written.
    std::vector<std::pair<std::wstring, std::wstring>> Environment() const;
    // Moves the photo; the camera takes the new place within a fifth of a second.
    bool Place(const PhotoPlace& place) const;

private:
    test_photos::FaceTruth face_;
    std::wstring photo_;
    std::wstring placeFile_;
};

// The place that puts the photo's head with its middle at `centreX`, its crown at `crownY`
// and `length` long from crown to chin, in the frame's pixels, while the preview box lies at
// `box` (relative to the frame).
PhotoPlace PlaceHead(const test_photos::FaceTruth& face, const ui::Rect& box, double centreX, double crownY,
                     double length);

// Where the photo's head truly lies in the frame for that place and box.
framing::HeadEstimate HeadInFrame(const test_photos::FaceTruth& face, const PhotoPlace& place, const ui::Rect& box);

}  // namespace e2e
