// The four Photo slots as the operator uses them: captures fill them in turn, a click on a
// slot shows its brightness buttons, and a press on one changes that slot alone.
#include "app/main_controls.h"
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"

#include <array>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr std::array<const char*, 4> kBoards{"画板1", "画板2", "画板3", "画板4"};
constexpr std::array<const char*, 4> kGroups{"分组框_图1", "分组框_图2", "分组框_图3", "分组框_图4"};
constexpr char kCaptured[] = "295×412";  // a slot's value once it holds a frame

class PhotoSlots : public OrviaSession {
protected:
    // The demonstration camera, running; `fault` as the component knows it ("still": the same
    // picture at the full rate).
    void StartWithCamera(const wchar_t* fault = L"") {
        ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment(fault)));
        ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
        Pause(100ms);
    }
    Report Board(int slot) { return MustQuery(kBoards[static_cast<std::size_t>(slot - 1)]); }
    // What the slot shows on the screen, as a number that tells pictures apart.
    std::uint64_t Hash(int slot) { return SettledCapture(OnScreen(Board(slot))).Hash(); }
    // The size of the slot's picture; empty while it holds none.
    std::string Picture(int slot) { return Board(slot)["value"]; }
    // Presses and releases the Photo button; true once slot `slot` holds a new picture.
    bool CaptureInto(int slot) {
        const std::uint64_t before = Hash(slot);
        ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
        return WaitUntil([&] { return Picture(slot) == kCaptured && Hash(slot) != before; }, 3s);
    }
    void ClickSlot(int slot) { ClickAt(CentreOf(MustQuery(kBoards[static_cast<std::size_t>(slot - 1)]))); }
    // The slot whose brightness group shows, 0 for none; -1 when more than one shows.
    int ShownGroup() {
        int shown = 0;
        for (int k = 1; k <= 4; ++k) {
            if (ReportNumber(MustQuery(kGroups[static_cast<std::size_t>(k - 1)]), "shown") != 1) continue;
            shown = shown == 0 ? k : -1;
        }
        return shown;
    }
};

TEST_F(PhotoSlots, CapturesFillTheSlotsInTurnAndWrapAround) {
    ASSERT_NO_FATAL_FAILURE(StartWithCamera());
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(Picture(k), "") << "slot " << k << " before any capture";
    std::array<std::uint64_t, 6> taken{};
    for (int capture = 1; capture <= 5; ++capture) {
        const int slot = (capture - 1) % 4 + 1;
        // The figure sways across with a period of two seconds, about what four captures take,
        // so the fifth may take the very picture of the first. A nudge down first moves the
        // picture in a way no sway undoes.
        if (capture == 5) {
            const long long top = ReportNumber(MustQuery(mc::kPreviewBox.name), "y");
            PressKey(VK_DOWN);
            ASSERT_TRUE(WaitUntil([&] { return ReportNumber(MustQuery(mc::kPreviewBox.name), "y") != top; }, 3s))
                << "the nudge did not move the picture";
        }
        ASSERT_TRUE(CaptureInto(slot)) << "capture " << capture << " did not land in slot " << slot;
        taken[static_cast<std::size_t>(capture)] = Hash(slot);
        Pause(150ms);  // the picture moves on between captures
    }
    EXPECT_EQ(Hash(1), taken[5]);
    EXPECT_NE(taken[5], taken[1]);
    EXPECT_EQ(Hash(2), taken[2]);
    EXPECT_EQ(Hash(3), taken[3]);
    EXPECT_EQ(Hash(4), taken[4]);
    ShootMainWindow("four");
}

TEST_F(PhotoSlots, EnterAndThePhotoButtonShareTheNextSlot) {
    ASSERT_NO_FATAL_FAILURE(StartWithCamera());
    ASSERT_TRUE(CaptureInto(1));
    // Enter is a hotkey of the whole system: it captures whichever window is in front.
    const std::uint64_t before = Hash(2);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Picture(2) == kCaptured && Hash(2) != before; }, 3s)) << "Enter did not fill slot 2";
    EXPECT_TRUE(CaptureInto(3));
    EXPECT_EQ(Picture(4), "");
}

TEST_F(PhotoSlots, AClickOnASlotShowsItsBrightnessButtonsOnly) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    EXPECT_EQ(ShownGroup(), 0);
    ClickSlot(1);  // an empty slot is selected all the same
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 1; }, 2s)) << ShownGroup();
    ClickSlot(3);
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 3; }, 2s)) << ShownGroup();
    ClickAt(CentreOf(MustQuery(mc::kCameraList.name)));  // the focus leaves the slots
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 0; }, 2s)) << ShownGroup();
}

TEST_F(PhotoSlots, CapturingKeepsTheSelectedSlot) {
    ASSERT_NO_FATAL_FAILURE(StartWithCamera());
    ClickSlot(2);
    ASSERT_TRUE(WaitUntil([&] { return ShownGroup() == 2; }, 2s));
    ASSERT_TRUE(CaptureInto(1));
    Pause(100ms);
    EXPECT_EQ(ShownGroup(), 2);
    EXPECT_EQ(MustQuery(mc::kSlots[1].board.name)["focused"], "1");
}

TEST_F(PhotoSlots, ABrightnessPressChangesItsOwnSlotOnly) {
    // A still picture, so the four captures are alike and only the press tells them apart.
    ASSERT_NO_FATAL_FAILURE(StartWithCamera(L"still"));
    for (int k = 1; k <= 4; ++k) ASSERT_TRUE(CaptureInto(k) || Picture(k) == kCaptured);
    std::array<std::uint64_t, 5> before{};
    for (int k = 1; k <= 4; ++k) before[static_cast<std::size_t>(k)] = Hash(k);
    ClickSlot(3);
    ASSERT_TRUE(WaitUntil([&] { return ShownGroup() == 3; }, 2s));
    ClickAt(CentreOf(MustQuery(mc::kSlots[2].brighter.label.name)));
    EXPECT_TRUE(WaitUntil([&] { return Hash(3) != before[3]; }, 2s)) << "slot 3 did not change";
    EXPECT_EQ(Picture(3), kCaptured);
    for (const int k : {1, 2, 4}) EXPECT_EQ(Hash(k), before[static_cast<std::size_t>(k)]) << "slot " << k;
    EXPECT_EQ(ShownGroup(), 3) << "the press moved the selection";
}

}  // namespace
}  // namespace e2e
