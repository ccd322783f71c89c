// The live picture as the operator sees it, from our own camera component's demonstration
// camera: it starts on a double-click, moves, stops on "关闭设备", and pans with the box.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "components/VedioCapture/test_pattern.h"

namespace mc = app::main_controls;

namespace e2e {
namespace {

namespace pattern = vedio::pattern;

class LivePreview : public OrviaSession {
protected:
    // `fault` makes the demonstration camera misbehave (see the component).
    void StartWithDemoCamera(const wchar_t* fault = L"") {
        ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment(fault)));
        const Report list = MustQuery(mc::kCameraList.name);
        ASSERT_EQ(list.count("items"), 1u);
        ASSERT_NE(list.at("items").find("Orvia Demo Camera"), std::string::npos) << list.at("items");
    }
    void DoubleClickDemoCamera() { DoubleClickAt(DemoCameraEntry(orvia_.MainWindow())); }
    // The frame 外形框3 as it is on the screen now.
    Screenshot ShootFrame() { return Screenshot::Capture(FrameOnScreen(orvia_.MainWindow())); }
    bool WaitForPicture() {
        return WaitUntil([&] { return !IsAllBlack(ShootFrame()); }, 5s);
    }
    static bool IsAllBlack(const Screenshot& shot) { return shot.IsAll(RGB(0, 0, 0)); }
    // Where picture column `x` lands in the frame, for the box's current geometry.
    int FrameColumnOf(int x) {
        const Report box = MustQuery(mc::kPreviewBox.name);
        const Report frame = MustQuery(mc::kPreviewFrame.name);
        const long long left = ReportNumber(box, "x") - ReportNumber(frame, "x");
        return static_cast<int>(left + x * ReportNumber(box, "w") / pattern::kWidth);
    }
};

COLORREF AsColorref(std::uint32_t rrggbb) {
    return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

TEST_F(LivePreview, ADoubleClickStartsAMovingPictureAndCloseDeviceStopsIt) {
    ASSERT_NO_FATAL_FAILURE(StartWithDemoCamera());
    EXPECT_TRUE(IsAllBlack(ShootFrame())) << "no camera runs after start-up";
    ASSERT_NO_FATAL_FAILURE(DoubleClickDemoCamera());
    ASSERT_TRUE(WaitForPicture()) << "no picture after the double-click";
    // The figure sways to and fro: two shots either side of a turning point can match, a
    // third between them cannot.
    const Screenshot first = ShootFrame();
    Pause(150ms);
    const Screenshot between = ShootFrame();
    Pause(150ms);
    const Screenshot second = ShootFrame();
    ShootMainWindow("running");
    EXPECT_FALSE(IsAllBlack(second));
    EXPECT_FALSE(first.SamePixels(second) && first.SamePixels(between)) << "the picture does not move";

    const Report close = MustQuery(mc::kCloseDevice.name);
    ClickAt(static_cast<int>(ReportNumber(close, "screen_x") + 20), static_cast<int>(ReportNumber(close, "screen_y") + 10));
    EXPECT_TRUE(WaitUntil([&] { return IsAllBlack(ShootFrame()); }, 3s)) << "the picture stayed after 关闭设备";
    const Screenshot stopped = ShootFrame();
    Pause(300ms);
    EXPECT_TRUE(stopped.SamePixels(ShootFrame())) << "the picture still changes";

    // And a double-click starts it again at the same size and place.
    ASSERT_NO_FATAL_FAILURE(DoubleClickDemoCamera());
    EXPECT_TRUE(WaitForPicture());
}

TEST_F(LivePreview, ThePictureMovesWithTheDraggedBox) {
    ASSERT_NO_FATAL_FAILURE(StartWithDemoCamera());
    ASSERT_NO_FATAL_FAILURE(DoubleClickDemoCamera());
    ASSERT_TRUE(WaitForPicture());

    // The edge between the yellow and the cyan bar lies left of the frame at start-up; a
    // drag to the right brings it in, above the figure's reach.
    const int edge = 2 * pattern::kBarWidth;
    const int row = 60;
    ASSERT_LT(FrameColumnOf(edge), 0);
    const Report frame = MustQuery(mc::kPreviewFrame.name);
    const long long startX = ReportNumber(MustQuery(mc::kPreviewBox.name), "x");
    const POINT press{static_cast<LONG>(ReportNumber(frame, "screen_x") + 150),
                      static_cast<LONG>(ReportNumber(frame, "screen_y") + 200)};
    PressAndDrag(press, 100, 20);
    Pause(200ms);
    LeftUp();
    ASSERT_TRUE(WaitUntil([&] { return ReportNumber(MustQuery(mc::kPreviewBox.name), "x") == startX + 100; }, 3s))
        << "the box is at x " << ReportNumber(MustQuery(mc::kPreviewBox.name), "x") << ", not " << startX + 100;

    const int column = FrameColumnOf(edge);
    ASSERT_GT(column, 10) << "the box did not move far enough";
    ASSERT_LT(column, 120);
    const Screenshot shot = ShootFrame();
    shot.SavePng(ShotPath(TestName() + "-dragged"));
    EXPECT_EQ(shot.Pixel(column - 4, row), AsColorref(pattern::kBarColours[1])) << "yellow left of the edge";
    EXPECT_EQ(shot.Pixel(column + 4, row), AsColorref(pattern::kBarColours[2])) << "cyan right of the edge";
}

TEST_F(LivePreview, AZoomChangeWhileRunningShowsNoBlackFrame) {
    ASSERT_NO_FATAL_FAILURE(StartWithDemoCamera());
    ASSERT_NO_FATAL_FAILURE(DoubleClickDemoCamera());
    ASSERT_TRUE(WaitForPicture());
    const long long widthBefore = ReportNumber(MustQuery(mc::kPreviewBox.name), "w");
    const Report slider = MustQuery(mc::kZoomSlider.name);
    ClickAt(static_cast<int>(ReportNumber(slider, "screen_x") + ReportNumber(slider, "w") * 9 / 10),
            static_cast<int>(ReportNumber(slider, "screen_y") + 10));
    // Watch the frame while the camera stops, the box changes size and the camera starts.
    int shots = 0;
    int black = 0;
    const auto until = std::chrono::steady_clock::now() + 800ms;
    while (std::chrono::steady_clock::now() < until) {
        black += IsAllBlack(ShootFrame());
        ++shots;
    }
    EXPECT_NE(ReportNumber(MustQuery(mc::kPreviewBox.name), "w"), widthBefore) << "the zoom did not change";
    EXPECT_EQ(black, 0) << black << " of " << shots << " looks at the frame found it black";
    const Screenshot first = ShootFrame();
    Pause(300ms);
    EXPECT_FALSE(first.SamePixels(ShootFrame())) << "no moving picture after the zoom";
}

TEST_F(LivePreview, AFrozenPictureSurvivesAWindowPassingOverIt) {
    // A device that delivers one frame and then nothing: only repaints can show it.
    ASSERT_NO_FATAL_FAILURE(StartWithDemoCamera(L"frozen"));
    ASSERT_NO_FATAL_FAILURE(DoubleClickDemoCamera());
    ASSERT_TRUE(WaitForPicture());
    // By then the stopped picture carries its notice: both must come back.
    Pause(1800ms);
    const Screenshot before = ShootFrame();

    // Another program's window covers the frame for a moment.
    const RECT area = before.Area();
    HWND cover = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                   area.left - 20, area.top - 20, area.right - area.left + 40,
                                   area.bottom - area.top + 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    Pause(300ms);
    ::DestroyWindow(cover);
    // And the program repaints everything, as after its own menu or message box.
    ::RedrawWindow(orvia_.MainWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pause(300ms);
    EXPECT_TRUE(WaitUntil([&] { return ShootFrame().SamePixels(before); }, 3s))
        << "the picture did not come back after the window went";
}

}  // namespace
}  // namespace e2e
