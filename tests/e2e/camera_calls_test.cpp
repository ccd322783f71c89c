// What the program asks of the camera component, seen through a stand-in that records
// every call: at start-up, on a double-click in the camera list, from the zoom slider and
// from "关闭设备"; and where the zoom puts the preview box.
#include "app/main_controls.h"
#include "tests/e2e/camera_session.h"

#include <array>

namespace mc = app::main_controls;

namespace e2e {
namespace {

using Calls = std::vector<std::string>;

// The preview box in its frame for each slider position, and after start-up.
constexpr std::array<ui::Rect, 11> kZoomTable{{
    {-367, -200, 1421, 800},  // start-up
    {236, 140, 213, 120},
    {148, 90, 390, 220},
    {59, 40, 568, 320},
    {-30, -10, 746, 420},
    {-119, -60, 924, 520},
    {-207, -110, 1101, 620},
    {-296, -160, 1279, 720},
    {-385, -210, 1457, 820},
    {-474, -260, 1634, 920},
    {-566, -312, 1819, 1024},
}};
constexpr ui::Rect kStartUpBox = kZoomTable[0];

::testing::AssertionResult BoxIs(const char*, const char*, const ui::Rect& box, const ui::Rect& expected) {
    if (box == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the preview box is at (" << box.left << ", " << box.top << ") "
                                         << box.width << " x " << box.height << ", not at (" << expected.left << ", "
                                         << expected.top << ") " << expected.width << " x " << expected.height;
}

// The first entry of the camera list, on the screen.
POINT FirstEntry(const Report& list) {
    constexpr int kEdge = 2;  // the list's sunken edge
    constexpr int kEntryMiddle = 6;  // an entry of the default GUI font is at least 13 high
    return {static_cast<LONG>(ReportNumber(list, "screen_x") + kEdge + 10),
            static_cast<LONG>(ReportNumber(list, "screen_y") + kEdge + kEntryMiddle)};
}

using CameraCalls = CameraSession;

TEST_F(CameraCalls, StartUpOnlyFetchesTheListAndSelectsTheFirstCamera) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    EXPECT_EQ(RecordedCalls(), Calls{"GetCameraList"});
    const Report list = MustQuery(mc::kCameraList.name);
    EXPECT_EQ(list.at("items"), "Recording Camera|Second Camera");
    EXPECT_EQ(list.at("selection"), "0");
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kStartUpBox);
}

TEST_F(CameraCalls, NamesComeFromTheAnsiCodePageAndIndicesAreLeftOut) {
    // "Caméra" in the ANSI code page of this run, if it has the letter.
    char ansi[16]{};
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"Cam\u00e9ra", -1, ansi, sizeof ansi, nullptr, &lossy);
    if (lossy) GTEST_SKIP() << "the ANSI code page has no \u00e9";
    WriteCameraList("0|" + std::string(ansi) + "|1|Cam 2|2|007|");
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    EXPECT_EQ(MustQuery(mc::kCameraList.name).at("items"), "Cam\u00e9ra|Cam 2");
}

TEST_F(CameraCalls, DoubleClickOnACameraStartsItInThePreviewBox) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const std::size_t before = RecordedCalls().size();
    DoubleClickAt(FirstEntry(MustQuery(mc::kCameraList.name)));
    EXPECT_EQ(CallsAfter(before, 2), (Calls{"SetCameraID 0", StartCameraCall()}));
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kStartUpBox);
}

TEST_F(CameraCalls, SliderMoveClosesResizesAndRestartsTheCamera) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const std::size_t before = RecordedCalls().size();
    ClickZoomSlider(0.08);  // near the low end: a page down from 3 ends at 1
    ASSERT_TRUE(WaitUntil([&] { return ZoomPosition() == 1; })) << "at " << ZoomPosition();
    EXPECT_EQ(CallsAfter(before, 3), (Calls{"CloseCamera 0", "SetCameraID 0", StartCameraCall()}));
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kZoomTable[1]);
}

TEST_F(CameraCalls, CloseDeviceOnlyClosesTheCamera) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const std::size_t before = RecordedCalls().size();
    const Report button = MustQuery(mc::kCloseDevice.name);
    ClickAt(static_cast<int>(ReportNumber(button, "screen_x") + ReportNumber(button, "w") / 2),
            static_cast<int>(ReportNumber(button, "screen_y") + ReportNumber(button, "h") / 2));
    EXPECT_EQ(CallsAfter(before, 1), Calls{"CloseCamera 0"});
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kStartUpBox);
}

TEST_F(CameraCalls, WithoutCamerasTheIndexIsMinusOne) {
    WriteCameraList("");
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const Report list = MustQuery(mc::kCameraList.name);
    EXPECT_EQ(list.at("items"), "");
    EXPECT_EQ(list.at("selection"), "-1");
    const std::size_t before = RecordedCalls().size();
    ClickZoomSlider(0.08);
    EXPECT_EQ(CallsAfter(before, 3), (Calls{"CloseCamera -1", "SetCameraID -1", StartCameraCall()}));
}

using CameraZoom = CameraSession;

TEST_F(CameraZoom, EachPositionPlacesTheBoxAsTheTableSays) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    ClickZoomSlider(0.92);  // near the high end: a page up from 3
    ASSERT_TRUE(WaitUntil([&] { return ZoomPosition() != 3; })) << "the click did not move the slider";
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kZoomTable[static_cast<std::size_t>(ZoomPosition())]);

    // The top end, whose height breaks the step of 100.
    const std::size_t before = RecordedCalls().size();
    PressKey(VK_END);
    EXPECT_TRUE(WaitUntil([&] { return ZoomPosition() == 10; })) << "at " << ZoomPosition();
    EXPECT_EQ(CallsAfter(before, 3), (Calls{"CloseCamera 0", "SetCameraID 0", StartCameraCall()}));
    EXPECT_PRED_FORMAT2(BoxIs, PreviewInFrame(), kZoomTable[10]);
}

}  // namespace
}  // namespace e2e
