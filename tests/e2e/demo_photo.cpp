#include "tests/e2e/demo_photo.h"

#include "tests/e2e/demo_camera.h"

#include "components/VedioCapture/test_pattern.h"
#include "platform/win_text.h"

#include <cstdio>

namespace e2e {

namespace {
namespace pattern = vedio::pattern;

// Picture pixels to frame pixels across and down, for the box the picture is stretched over.
double AcrossScale(const ui::Rect& box) { return static_cast<double>(box.width) / pattern::kWidth; }
double DownScale(const ui::Rect& box) { return static_cast<double>(box.height) / pattern::kHeight; }
}  // namespace

DemoPhoto::DemoPhoto(const std::wstring& programDir, const test_photos::FaceTruth& face)
    : face_(face), placeFile_(JoinPath(programDir, L"photo-place.txt")) {
    const std::wstring folder = PathFromEnvironment(L"ORVIA_TEST_PHOTOS");
    if (!folder.empty()) photo_ = JoinPath(folder, platform::Wide(face.file));
}

bool DemoPhoto::Available() const { return !photo_.empty() && IsPlainFile(photo_); }

std::vector<std::pair<std::wstring, std::wstring>> DemoPhoto::Environment() const {
    return {{L"ORVIA_DEMO_DEVICES", L"1"}, {L"ORVIA_DEMO_PHOTO", photo_}, {L"ORVIA_DEMO_PHOTO_PLACE", placeFile_}};
}

bool DemoPhoto::Place(const PhotoPlace& place) const {
    char text[96];
    const int length = std::snprintf(text, sizeof text, "%.3f %.3f %.5f\n", place.x, place.y, place.scale);
    if (length <= 0) return false;
    return WriteFileTheCameraReads(
        placeFile_, {reinterpret_cast<const std::uint8_t*>(text), static_cast<std::size_t>(length)});
}

PhotoPlace PlaceHead(const test_photos::FaceTruth& face, const ui::Rect& box, double centreX, double crownY,
                     double length) {
    const double sx = AcrossScale(box), sy = DownScale(box);
    const double scale = length / sy / (face.chinY - face.crownY);
    // Frame point -> picture point, then back by the photo's own offset.
    const double pictureX = (centreX - box.left) / sx;
    const double pictureY = (crownY - box.top) / sy;
    return {pictureX - face.middleX * scale, pictureY - face.crownY * scale, scale};
}

framing::HeadEstimate HeadInFrame(const test_photos::FaceTruth& face, const PhotoPlace& place, const ui::Rect& box) {
    const double sx = AcrossScale(box), sy = DownScale(box);
    const auto across = [&](double photoX) { return box.left + (place.x + photoX * place.scale) * sx; };
    const auto down = [&](double photoY) { return box.top + (place.y + photoY * place.scale) * sy; };
    return {across(face.middleX), down(face.crownY), down(face.chinY), down(face.eyeY),
            face.headWidth * place.scale * sx, true};
}

}  // namespace e2e
