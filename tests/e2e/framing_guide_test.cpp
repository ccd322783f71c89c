// The framing guide as the operator meets it, with the demo camera playing a real portrait:
// it shows over the running preview and hides with its menu item, turns green on a framed
// head and amber on one 60 px off, amber-grey where the crown cannot be seen, the F key frames
// heads from five starts and leaves a fitting one alone, a capture never carries it, and the
// pointer still pans the picture through it.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/demo_photo.h"
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "framing/guide_drawing.h"
#include "framing/guide_geometry.h"
#include "platform/files.h"
#include "platform/win_text.h"

#include <cmath>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr wchar_t kGuideClass[] = L"Orvia.FramingGuide";
constexpr char kPreviewFrame[] = "外形框3";
constexpr char kPreviewBox[] = "外形框_视频";
// The guide's outline covers about 1,900 of the frame's pixels.
constexpr int kGuideShows = 1000;
constexpr int kGuideGone = 100;  // a photo may hold a few pixels of exactly a guide colour

COLORREF ScreenColour(framing::GuideColour colour) {
    const std::uint32_t rgb = framing::GuideRgb(colour);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class FramingGuide : public OrviaSession {
protected:
    // Orvia started with the demo camera playing the astronaut's portrait at `place`, the
    // camera running; skipped when the build has no test photographs.
    void StartWithPhoto(const PhotoPlace& place) {
        if (!photo_.Available()) GTEST_SKIP() << "no test photographs (ORVIA_TEST_PHOTOS); scripts/test fetches them";
        ASSERT_TRUE(photo_.Place(place));
        ASSERT_NO_FATAL_FAILURE(StartOrvia(photo_.Environment()));
        ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    }
    // The place that puts the head `right` and `down` pixels off the guide, `length` long.
    PhotoPlace OnGuide(double right = 0, double down = 0, double length = framing::kHeadLength.Middle()) {
        return PlaceHead(photo_.Face(), Box(), framing::kGuideCentreX + right, framing::kCrownLine.Middle() + down,
                         length);
    }
    // The preview box relative to the frame, as the control tree reports them.
    ui::Rect Box() {
        const Report box = MustQuery(kPreviewBox), frame = MustQuery(kPreviewFrame);
        return {static_cast<int>(ReportNumber(box, "x") - ReportNumber(frame, "x")),
                static_cast<int>(ReportNumber(box, "y") - ReportNumber(frame, "y")),
                static_cast<int>(ReportNumber(box, "w")), static_cast<int>(ReportNumber(box, "h"))};
    }
    int ZoomPosition() { return static_cast<int>(ReportNumber(MustQuery(mc::kZoomSlider.name), "position")); }

    HWND GuideWindow() {
        const std::vector<HWND> shown = VisibleWindowsOf(orvia_.Id(), kGuideClass);
        return shown.empty() ? nullptr : shown.front();
    }
    int GuidePixels(framing::GuideColour colour) {
        const Screenshot shot = Screenshot::Capture(FrameOnScreen(orvia_.MainWindow()));
        return shot.CountColour({0, 0, shot.Width(), shot.Height()}, ScreenColour(colour));
    }
    int AnyGuidePixels() {
        return GuidePixels(framing::GuideColour::Green) + GuidePixels(framing::GuideColour::Amber) +
               GuidePixels(framing::GuideColour::Grey);
    }
    bool WaitForColour(framing::GuideColour colour, Milliseconds timeout = 8s) {
        return WaitUntil([&] { return GuidePixels(colour) > kGuideShows; }, timeout);
    }
    // Picks "显示取景框" in the settings pop-up with the keyboard.
    void ToggleGuideFromMenu() { ASSERT_TRUE(PickSettingsMenuItem(orvia_.MainWindow(), mc::kGuideItem)); }
    void PressF() {
        ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
        PressKey('F');
    }

    // Before a flat backdrop, as a photo desk stands a trainee: the crown can be measured.
    DemoPhoto photo_{dir_.Path(), test_photos::kAstronautFlat};
};

TEST_F(FramingGuide, ShowsWhileTheCameraRunsAndHidesWithTheMenuItem) {
    if (!photo_.Available()) GTEST_SKIP() << "no test photographs";
    ASSERT_TRUE(photo_.Place({0, 0, 1}));
    ASSERT_NO_FATAL_FAILURE(StartOrvia(photo_.Environment()));
    EXPECT_EQ(GuideWindow(), nullptr) << "a guide before any camera runs";

    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow()));
    ASSERT_TRUE(WaitUntil([&] { return GuideWindow() != nullptr && AnyGuidePixels() > kGuideShows; }))
        << "no guide over the running camera";
    RECT guide{};
    ::GetWindowRect(GuideWindow(), &guide);
    const RECT frame = FrameOnScreen(orvia_.MainWindow());
    EXPECT_TRUE(::EqualRect(&guide, &frame)) << "the guide does not lie exactly over the frame";
    ShootMainWindow("shown");

    ASSERT_NO_FATAL_FAILURE(ToggleGuideFromMenu());
    EXPECT_TRUE(WaitUntil([&] { return GuideWindow() == nullptr; })) << "the menu item did not hide the guide";
    EXPECT_LT(AnyGuidePixels(), kGuideGone);
    ShootMainWindow("hidden");

    ASSERT_NO_FATAL_FAILURE(ToggleGuideFromMenu());
    EXPECT_TRUE(WaitUntil([&] { return GuideWindow() != nullptr && AnyGuidePixels() > kGuideShows; }))
        << "the menu item did not show the guide again";

    // The guide goes with the camera.
    const Report close = MustQuery(mc::kCloseDevice.name);
    ClickAt(static_cast<int>(ReportNumber(close, "screen_x") + 20), static_cast<int>(ReportNumber(close, "screen_y") + 10));
    EXPECT_TRUE(WaitUntil([&] { return GuideWindow() == nullptr; })) << "the guide stayed after 关闭设备";
}

TEST_F(FramingGuide, TheProgramEndsCleanlyWhileTheCheckRuns) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    ASSERT_TRUE(photo_.Place(OnGuide()));
    ASSERT_TRUE(WaitForColour(framing::GuideColour::Green));
    ASSERT_NO_FATAL_FAILURE(PressF());  // a look of its own under way as well
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    PressKey(VK_ESCAPE);  // nothing taken: no question
    ASSERT_TRUE(orvia_.WaitForExit(10s)) << "the program did not end";
    EXPECT_EQ(orvia_.ExitCode(), std::optional<DWORD>(0));
}

TEST_F(FramingGuide, GreenWhenTheHeadSitsOnItAmberWhenSixtyPixelsOffGreyWithoutAFace) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    ASSERT_TRUE(photo_.Place(OnGuide()));
    EXPECT_TRUE(WaitForColour(framing::GuideColour::Green)) << "not green with the head on the guide";
    ShootMainWindow("green");
    // The preview panel alone, as the README shows it.
    Screenshot::Capture(OnScreen(MustQuery("外形框2"))).SavePng(ShotPath(TestName() + "-panel"));

    for (const auto& [right, down] : {std::pair{60.0, 0.0}, {-60.0, 0.0}, {0.0, 60.0}}) {
        ASSERT_TRUE(photo_.Place(OnGuide(right, down)));
        EXPECT_TRUE(WaitForColour(framing::GuideColour::Amber)) << "not amber " << right << ", " << down << " px off";
        EXPECT_LT(GuidePixels(framing::GuideColour::Green), kGuideGone);
    }
    ShootMainWindow("amber");

    // The photo out of the picture: no face.
    ASSERT_TRUE(photo_.Place({-5000, -5000, 1}));
    EXPECT_TRUE(WaitForColour(framing::GuideColour::Grey)) << "not grey without a face";
}

// Grace Hopper stands before a flag and the sky and wears a cap: her crown cannot be read,
// and the guide says so instead of turning green.
TEST_F(FramingGuide, AHeadOnTheGuideBeforeABusyBackdropIsAmberGreyNeverGreen) {
    photo_ = DemoPhoto(dir_.Path(), test_photos::kGraceHopper);
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    // Her crown is under the cap: placed by her eyes and chin, the eyes 54 % of the way from
    // where the crown would be to the chin, as on the guide.
    test_photos::FaceTruth hopper = photo_.Face();
    hopper.crownY = hopper.eyeY - 0.54 / 0.46 * (hopper.chinY - hopper.eyeY);
    ASSERT_TRUE(photo_.Place(PlaceHead(hopper, Box(), framing::kGuideCentreX, framing::kCrownLine.Middle(),
                                       framing::kHeadLength.Middle())));
    EXPECT_TRUE(WaitForColour(framing::GuideColour::Unsure)) << "not amber-grey before a busy backdrop";
    EXPECT_LT(GuidePixels(framing::GuideColour::Green), kGuideGone);
    ShootMainWindow("crown-unclear");
}

TEST_F(FramingGuide, TheFKeyFramesHeadsFromFiveStartsInsideTheRangesAndLeavesAFittingHeadWhereItIs) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    // Where the true head lies now: inside the ranges themselves, no tolerance added.
    const auto framedTruly = [&](const PhotoPlace& place) {
        const framing::HeadEstimate head = HeadInFrame(photo_.Face(), place, Box());
        return framing::kHeadLength.Holds(head.chinY - head.crownY) && framing::kCrownLine.Holds(head.crownY) &&
               std::abs(head.centerX - framing::kGuideCentreX) <= framing::kFitTolerance.across;
    };
    const auto describe = [&](const PhotoPlace& place) {
        const framing::HeadEstimate head = HeadInFrame(photo_.Face(), place, Box());
        return "slider " + std::to_string(ZoomPosition()) + ", head " + std::to_string(head.chinY - head.crownY) +
               " px long, crown at " + std::to_string(head.crownY) + ", middle at " + std::to_string(head.centerX);
    };

    // At the start-up zoom, a head that fits: F moves nothing.
    PhotoPlace place = OnGuide();
    ASSERT_TRUE(photo_.Place(place));
    ASSERT_TRUE(WaitForColour(framing::GuideColour::Green)) << "not green on the guide";
    const ui::Rect startBox = Box();
    const int startZoom = ZoomPosition();
    ASSERT_NO_FATAL_FAILURE(PressF());
    Pause(1s);  // nothing to wait for: give a move the time to happen
    EXPECT_EQ(ZoomPosition(), startZoom);
    EXPECT_EQ(Box(), startBox) << "a head that fits was moved";

    // Four that do not, each from where the F before left the preview: the slider has to go
    // up, down, up and down again.
    struct Start {
        double right, down, length;
        const char* what;
    };
    for (const Start& start : {Start{-65, 70, 215, "small, left and low"}, Start{40, 30, 320, "big and right"},
                               Start{0, 23.5, 230, "short and low"}, Start{-50, 13.5, 300, "long and left"}}) {
        SCOPED_TRACE(start.what);
        place = OnGuide(start.right, start.down, start.length);
        ASSERT_TRUE(photo_.Place(place));
        ASSERT_TRUE(WaitUntil([&] { return GuidePixels(framing::GuideColour::Green) < kGuideGone; }))
            << "still green: " << describe(place);
        Pause(400ms);  // a look or two of the new place
        ASSERT_NO_FATAL_FAILURE(PressF());
        EXPECT_TRUE(WaitUntil([&] { return framedTruly(place); }, 5s)) << describe(place);
        RecordProperty(start.what, describe(place));
    }
    EXPECT_TRUE(WaitForColour(framing::GuideColour::Green)) << "the live check does not agree";
    ShootMainWindow("framed");

    // Again on the framed head: nothing moves.
    const ui::Rect box = Box();
    const int zoom = ZoomPosition();
    ASSERT_NO_FATAL_FAILURE(PressF());
    Pause(1s);
    EXPECT_EQ(ZoomPosition(), zoom);
    EXPECT_EQ(Box(), box) << "a framed head moved on";
}

TEST_F(FramingGuide, TheFKeyWithoutAFaceFlashesTheGuideGreyAndMovesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({-5000, -5000, 1}));
    // Hidden by the operator: the flash still answers the key, then the guide goes again.
    ASSERT_NO_FATAL_FAILURE(ToggleGuideFromMenu());
    ASSERT_TRUE(WaitUntil([&] { return GuideWindow() == nullptr; }));
    const ui::Rect box = Box();
    const int zoom = ZoomPosition();

    ASSERT_NO_FATAL_FAILURE(PressF());
    EXPECT_TRUE(WaitUntil([&] { return GuideWindow() != nullptr && GuidePixels(framing::GuideColour::Grey) > kGuideShows; }, 3s))
        << "no grey flash";
    EXPECT_TRUE(WaitUntil([&] { return GuideWindow() == nullptr; }, 3s)) << "the flash did not end";
    EXPECT_EQ(Box(), box);
    EXPECT_EQ(ZoomPosition(), zoom);
}

// Under Wine without a window manager, every move of the keyboard focus raises the Main
// window's X window over all, its owned guide included: the guide must climb back.
TEST_F(FramingGuide, StaysOverThePreviewWhenTheFocusMovesInsideTheWindow) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    ASSERT_TRUE(WaitUntil([&] { return AnyGuidePixels() > kGuideShows; }));
    BringToForeground(orvia_.MainWindow());
    PressKey(VK_RETURN);  // a photo in slot 1, so that it takes the focus when clicked
    ASSERT_TRUE(WaitUntil([&] { return MustQuery(mc::kSlots[0].board.name)["value"] == "295×412"; }, 3s));

    for (const char* control : {"画板1", "列表框1", "画板1"}) {
        ClickAt(CentreOf(MustQuery(control)));
        Pause(300ms);
        EXPECT_TRUE(WaitUntil([&] { return AnyGuidePixels() > kGuideShows; }, 2s))
            << "the guide is buried after a click on " << control;
    }
}

TEST_F(FramingGuide, ACaptureAndASavedPhotoCarryNoGuide) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    ASSERT_TRUE(photo_.Place(OnGuide()));
    ASSERT_TRUE(WaitForColour(framing::GuideColour::Green));
    const std::wstring photos = dir_ / L"学员照片";
    // Captures into `slot` with Enter and saves that slot; the saved file's bytes, or why none.
    const auto captureAndSave = [&](int slot, std::string& failure) -> std::optional<std::vector<std::uint8_t>> {
        const std::string boardName = "画板" + std::to_string(slot);
        const Report board = MustQuery(boardName);
        BringToForeground(orvia_.MainWindow());
        PressKey(VK_RETURN);  // Enter captures
        if (!WaitUntil([&] { return MustQuery(boardName)["value"] == "295×412"; }, 3s)) {
            failure = "Enter took no photo into " + boardName;
            return {};
        }
        DoubleClickAt(CentreOf(board));
        HWND question = WaitForBoxSaying(orvia_.Id(), L"的图片吗？");
        if (!question) {
            failure = "no question after a double click on " + boardName;
            return {};
        }
        if (!PressDialogButton(question, IDOK)) {
            failure = "the question's OK could not be pressed";
            return {};
        }
        // The photo is written under a passing name and then renamed: only a .jpg is the photo.
        std::wstring file;
        WaitUntil([&] {
            for (const std::wstring& name : DirectoryEntries(photos)) {
                if (name.ends_with(L".jpg")) file = JoinPath(photos, name);
            }
            return !file.empty() && platform::ReadWholeFile(file).has_value();
        }, 3s);
        if (file.empty()) {
            failure = "no file in 学员照片 after saving " + boardName;
            return {};
        }
        Pause(300ms);
        auto bytes = platform::ReadWholeFile(file);
        if (bytes) ::DeleteFileW(file.c_str());
        else failure = "the saved file could not be read";
        return bytes;
    };

    // Taken while the guide shows over the frame.
    ASSERT_GT(GuidePixels(framing::GuideColour::Green), kGuideShows);
    std::string failure;
    const auto withGuide = captureAndSave(1, failure);
    ASSERT_TRUE(withGuide) << failure;
    // The same picture, the guide hidden.
    ASSERT_NO_FATAL_FAILURE(ToggleGuideFromMenu());
    ASSERT_TRUE(WaitUntil([&] { return GuideWindow() == nullptr; }));
    const auto withoutGuide = captureAndSave(2, failure);
    ASSERT_TRUE(withoutGuide) << failure;
    EXPECT_TRUE(*withGuide == *withoutGuide) << "the photo taken under the guide differs from the one without it";
}

TEST_F(FramingGuide, ADragStartedOnTheGuidesLinePansThePicture) {
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto({0, 0, 1}));
    ASSERT_TRUE(WaitUntil([&] { return AnyGuidePixels() > kGuideShows; }));
    const ui::Rect before = Box();
    // The oval's left side, half-way down: a pixel of the guide's outline.
    const framing::GuideOutline oval = framing::GuideOutlineFor();
    const RECT frame = FrameOnScreen(orvia_.MainWindow());
    const POINT press{frame.left + static_cast<LONG>(oval.ovalCentreX - oval.ovalHalfWidth),
                      frame.top + static_cast<LONG>(oval.ovalCentreY)};
    const COLORREF under = Screenshot::Capture({press.x, press.y, press.x + 1, press.y + 1}).Pixel(0, 0);
    EXPECT_TRUE(under == ScreenColour(framing::GuideColour::Green) || under == ScreenColour(framing::GuideColour::Amber) ||
                under == ScreenColour(framing::GuideColour::Grey))
        << "the press is not on the guide's line";

    PressAndDrag(press, 50, 30);
    Pause(200ms);
    LeftUp();
    EXPECT_TRUE(WaitUntil([&] { return Box().left == before.left + 50 && Box().top == before.top + 30; }, 3s))
        << "the box is at (" << Box().left << ", " << Box().top << ")";
}

}  // namespace
}  // namespace e2e
