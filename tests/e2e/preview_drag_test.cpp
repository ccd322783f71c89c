// Panning the picture: the preview box follows the pointer while the left button is held,
// and the control tree keeps up with where its window went.
#include "app/main_controls.h"
#include "tests/e2e/camera_session.h"
#include "ui/caption_drag.h"

namespace mc = app::main_controls;

namespace e2e {
namespace {

// Where the preview box's window really is, in its frame's window.
POINT WindowInFrame(HWND box) { return ui::PositionInParent(box); }

using CameraPreviewDragging = CameraSession;

TEST_F(CameraPreviewDragging, PointerWithoutAButtonLeavesTheBoxAlone) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const ui::Rect before = PreviewInFrame();
    const POINT from = Client(150, 250);  // inside the frame, over the box
    for (int step = 0; step <= 4; ++step) MoveMouseTo(from.x + 15 * step, from.y + 10 * step);
    Pause(300ms);  // nothing to wait for: give it the time a drag would take
    EXPECT_EQ(PreviewInFrame(), before);
    EXPECT_TRUE(orvia_.IsRunning());
}

TEST_F(CameraPreviewDragging, DraggingMovesTheBoxWithThePointer) {
    ASSERT_NO_FATAL_FAILURE(StartWithRecordingCamera());
    const ui::Rect before = PreviewInFrame();
    const HWND box = ReportWindow(MustQuery(mc::kPreviewBox.name));
    ASSERT_NE(box, nullptr);
    const POINT press = Client(150, 250);

    PressAndDrag(press, 60, 40);
    const ui::Rect expected{before.left + 60, before.top + 40, before.width, before.height};
    const auto moved = [&] {
        const POINT now = WindowInFrame(box);
        return now.x == expected.left && now.y == expected.top;
    };
    // Windows moves the box along with the pointer; Wine drags an outline and moves the box
    // when the button comes up. Either way the move loop must have taken the moves in first.
    WaitUntil(moved, 1s);
    LeftUp();

    EXPECT_TRUE(WaitUntil([&] { return PreviewInFrame() == expected; }, 3s))
        << "the control tree says the box is at (" << PreviewInFrame().left << ", " << PreviewInFrame().top << ")";
    const POINT window = WindowInFrame(box);
    EXPECT_EQ(window.x, expected.left);
    EXPECT_EQ(window.y, expected.top);
    EXPECT_EQ(RecordedCalls(), std::vector<std::string>{"GetCameraList"}) << "a drag is no camera call";
}

}  // namespace
}  // namespace e2e
