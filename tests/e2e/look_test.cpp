// How the main window looks right after start-up, checked on the screen's pixels at places
// known from its Template (client coordinates: the window has no border).
#include "app/main_controls.h"
#include "tests/e2e/orvia_session.h"

#include <array>
#include <cstdio>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr char kNoReaderPrompt[] = "身份证读卡器连接失败!请双击我填写名字";

int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

RECT ReportRect(const Report& report) {
    const auto x = static_cast<LONG>(ReportNumber(report, "x"));
    const auto y = static_cast<LONG>(ReportNumber(report, "y"));
    return {x, y, x + static_cast<LONG>(ReportNumber(report, "w")), y + static_cast<LONG>(ReportNumber(report, "h"))};
}

std::string Hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lx", static_cast<unsigned long>(colour));
    return text;
}

using StartupLook = OrviaSession;

TEST_F(StartupLook, WhiteBackgroundTitleAndNameBar) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const Screenshot shot = ShootMainWindow();

    EXPECT_EQ(Hex(shot.Pixel(150, 20)), Hex(kWhite));
    EXPECT_EQ(Hex(shot.Pixel(1000, 600)), Hex(kWhite));

    // The blue name bar, asking for a name since no reader is attached.
    const Report bar = MustQuery("外形框4");
    EXPECT_EQ(ReportRect(bar).left, 400);
    EXPECT_EQ(ReportRect(bar).top, 96);
    EXPECT_EQ(ReportNumber(bar, "shown"), 1);
    EXPECT_EQ(MustQuery(mc::kStudentLabel.name)["caption"], kNoReaderPrompt);
    const RECT barInside{401, 97, 400 + 512 - 1, 96 + 34 - 1};
    EXPECT_GT(shot.CountColour(barInside, kAccentBlue), Area(barInside) / 2) << "the name bar is not blue";
    EXPECT_GT(shot.CountColour(barInside, kWhite), 200) << "no white caption on the name bar";

    // The title, in blue.
    EXPECT_EQ(MustQuery("透明标签3")["caption"], "Orvia");
    const RECT title{368, 8, 368 + 568, 8 + 56};
    EXPECT_GT(shot.CountColour(title, kAccentBlue), 100) << "the title shows no blue";
}

TEST_F(StartupLook, SettingsAndCloseButtonsShowTheirPicturesOverTheBackground) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const POINT away = Client(150, 300);
    MoveMouseTo(away);  // neither button may be in its hover state
    Pause(200ms);
    const Screenshot shot = ShootMainWindow("buttons");
    for (const char* name : {"按钮_设置", "关闭"}) {
        const RECT r = ReportRect(MustQuery(name));
        // The symbol is drawn in blue; the picture's transparent corner shows the white
        // background, not a button face or black.
        EXPECT_GT(shot.CountColour(r, kAccentBlue), 20) << name << " shows no symbol";
        EXPECT_EQ(Hex(shot.Pixel(r.left, r.top)), Hex(kWhite)) << name;
    }
}

TEST_F(StartupLook, EmptyPhotoSlotsWithoutBrightnessButtons) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const Screenshot shot = ShootMainWindow();
    const COLORREF buttonFace = ::GetSysColor(COLOR_BTNFACE);

    for (const char* slot : {"画板1", "画板2", "画板3", "画板4"}) {
        SCOPED_TRACE(slot);
        const Report report = MustQuery(slot);
        EXPECT_EQ(ReportNumber(report, "shown"), 1);
        const HWND board = ReportWindow(report);
        ASSERT_TRUE(board && ::IsWindowVisible(board)) << "no visible window of its own";
        RECT inside{};
        ASSERT_TRUE(::GetClientRect(board, &inside));
        ::MapWindowPoints(board, orvia_.MainWindow(), reinterpret_cast<POINT*>(&inside), 2);
        EXPECT_LT(Area(inside), Area(ReportRect(report))) << "the slot has no border";
        EXPECT_EQ(shot.CountColour(inside, buttonFace), Area(inside)) << "not button face inside the border";
    }

    // The brightness groups stay hidden until a photo is chosen; their places show the
    // background (below the slots, which reach a few rows into them).
    constexpr std::array<POINT, 4> kGroups{{{326, 338}, {498, 337}, {665, 337}, {835, 338}}};
    for (int i = 0; i < 4; ++i) {
        const std::string group(app::main_controls::kSlots[static_cast<std::size_t>(i)].brightnessGroup.name);
        SCOPED_TRACE(group);
        EXPECT_EQ(ReportNumber(MustQuery(group), "shown"), 0);
        const POINT at = kGroups[static_cast<std::size_t>(i)];
        const RECT below{at.x, 343, at.x + 160, at.y + 50};
        EXPECT_EQ(shot.CountColour(below, kWhite), Area(below)) << "something is drawn where the group would be";
    }
}

TEST_F(StartupLook, OnlyThePhotoButtonWithoutAReader) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const Screenshot shot = ShootMainWindow();

    EXPECT_EQ(ReportNumber(MustQuery(mc::kReadCardBody.name), "shown"), 0);
    EXPECT_EQ(ReportNumber(MustQuery(mc::kReadCardLabel.name), "shown"), 0);
    EXPECT_EQ(ReportNumber(MustQuery(mc::kPhotoBody.name), "shown"), 1);
    EXPECT_EQ(ReportNumber(MustQuery(mc::kPhotoLabel.name), "shown"), 1);

    // The two buttons lie 3 pixels apart: the left edge of the card button would be blue
    // at x=557, the right edge of the photo button is at x=766.
    EXPECT_EQ(Hex(shot.Pixel(557, 468)), Hex(kWhite)) << "the card button shows";
    EXPECT_EQ(Hex(shot.Pixel(765, 468)), Hex(kAccentBlue)) << "the photo button does not show";
}

}  // namespace
}  // namespace e2e
