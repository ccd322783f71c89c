// The window's own chrome: ending the program, the settings pop-up, dragging the window.
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "platform/win_text.h"

namespace mc = app::main_controls;

namespace e2e {
namespace {

POINT TopLeft(const RECT& r) { return {r.left, r.top}; }

::testing::AssertionResult SamePoint(const char* a, const char* b, POINT p, POINT q) {
    if (p.x == q.x && p.y == q.y) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " is (" << p.x << ", " << p.y << ") but " << b << " is (" << q.x
                                         << ", " << q.y << ")";
}

using Closing = OrviaSession;

TEST_F(Closing, EscapeEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(orvia_.WaitForExit(10s)) << "still running after Esc";
}

TEST_F(Closing, CloseButtonEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const Report close = MustQuery(mc::kCloseButton.name);
    ASSERT_EQ(ReportNumber(close, "shown"), 1);
    ClickAt(CentreOf(close));
    ASSERT_TRUE(orvia_.WaitForExit(10s)) << "still running after a click on the close button";
    EXPECT_EQ(orvia_.ExitCode(), 0u);
}

using SettingsMenu = OrviaSession;

TEST_F(SettingsMenu, SettingsButtonPopsUpTheHelpItems) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    EXPECT_EQ(::GetMenu(orvia_.MainWindow()), nullptr) << "the menu shows as a menu bar";
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kMenuClass).empty()) << "a menu is open before the press";

    ClickAt(CentreOf(MustQuery(mc::kSettingsButton.name)));
    const HWND menu = WaitForWindowOf(orvia_.Id(), kMenuClass);
    ASSERT_NE(menu, nullptr) << "no pop-up menu appeared";
    for (const wchar_t* item : {L"软件帮助", L"联系作者"})
        EXPECT_TRUE(WaitUntil([&] { return MenuShowsItem(menu, item); }, 2s)) << "the menu does not show " << platform::Narrow(item);
    EXPECT_FALSE(MenuShowsItem(menu, L"帮助文件")) << "an item the menu does not have";
    EXPECT_EQ(::GetMenu(orvia_.MainWindow()), nullptr);
    ShootMainWindow("open");

    BringToForeground(orvia_.MainWindow());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return VisibleWindowsOf(orvia_.Id(), kMenuClass).empty(); }))
        << "the menu stayed open after Esc";
}

using UnboundControls = OrviaSession;

TEST_F(UnboundControls, SaveSettingsButtonDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const RECT before = orvia_.WindowRect();
    ClickAt(CentreOf(MustQuery("按钮2")));
    Pause(300ms);  // nothing to wait for: give a dialog the time to appear
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), L"#32770").empty()) << "a dialog appeared";
    EXPECT_TRUE(orvia_.IsRunning());
    const RECT after = orvia_.WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_EQ(MustQuery(mc::kStudentLabel.name)["caption"], "身份证读卡器连接失败!请双击我填写名字");
}

using WindowDragging = OrviaSession;

TEST_F(WindowDragging, DraggingTheBackgroundMovesTheWindowWithThePointer) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const POINT before = TopLeft(orvia_.WindowRect());
    const POINT press = Client(150, 20);

    PressAndDrag(press, 60, 40);
    const POINT expected{before.x + 60, before.y + 40};
    const auto arrived = [&] {
        const POINT now = TopLeft(orvia_.WindowRect());
        return now.x == expected.x && now.y == expected.y;
    };
    WaitUntil(arrived, 3s);
    LeftUp();

    WaitUntil(arrived, 3s);
    EXPECT_PRED_FORMAT2(SamePoint, TopLeft(orvia_.WindowRect()), expected);
    EXPECT_TRUE(orvia_.IsRunning());
}

TEST_F(WindowDragging, MovingThePointerWithoutAButtonLeavesTheWindowAlone) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const POINT before = TopLeft(orvia_.WindowRect());
    const POINT from = Client(150, 20);

    for (int step = 0; step <= 4; ++step) MoveMouseTo(from.x + 15 * step, from.y + 10 * step);
    // Nothing to wait for when nothing should happen: give it the time a drag would take.
    Pause(300ms);
    EXPECT_PRED_FORMAT2(SamePoint, TopLeft(orvia_.WindowRect()), before);
    EXPECT_TRUE(orvia_.IsRunning());
}

}  // namespace
}  // namespace e2e
