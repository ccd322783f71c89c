// The four Photo slots as the operator uses them: captures fill them in turn, a click on a
// slot shows its brightness buttons, and a press on one changes that slot alone.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"

#include <array>

namespace e2e {
namespace {

constexpr std::array<const char*, 4> kBoards{"画板1", "画板2", "画板3", "画板4"};
constexpr std::array<const char*, 4> kGroups{"分组框_图1", "分组框_图2", "分组框_图3", "分组框_图4"};
constexpr long long kCaptureBytes = 365910;  // a 295 x 412 frame as a 24-bit BMP file

class PhotoSlots : public OrviaSession {
protected:
    // The demonstration camera, running; `fault` as the component knows it ("frozen": one
    // still picture).
    void StartWithCamera(const wchar_t* fault = L"") {
        ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment(fault)));
        ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
        Pause(100ms);
    }
    std::string Hash(int slot) { return MustQuery(kBoards[static_cast<std::size_t>(slot - 1)])["picture_hash"]; }
    long long Bytes(int slot) { return ReportNumber(MustQuery(kBoards[static_cast<std::size_t>(slot - 1)]), "picture_bytes"); }
    // Presses and releases the Photo button; true once slot `slot` holds a new picture.
    bool CaptureInto(int slot) {
        const std::string before = Hash(slot);
        ClickAt(CentreOf(MustQuery("透明标签_拍照")));
        return WaitUntil([&] { return Bytes(slot) == kCaptureBytes && Hash(slot) != before; }, 3s);
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
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(Bytes(k), 0) << "slot " << k << " before any capture";
    std::array<std::string, 6> taken;
    for (int capture = 1; capture <= 5; ++capture) {
        const int slot = (capture - 1) % 4 + 1;
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
    const std::string before = Hash(2);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Bytes(2) == kCaptureBytes && Hash(2) != before; }, 3s)) << "Enter did not fill slot 2";
    EXPECT_TRUE(CaptureInto(3));
    EXPECT_EQ(Bytes(4), 0);
}

TEST_F(PhotoSlots, AClickOnASlotShowsItsBrightnessButtonsOnly) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    EXPECT_EQ(ShownGroup(), 0);
    ClickSlot(1);  // an empty slot is selected all the same
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 1; }, 2s)) << ShownGroup();
    ClickSlot(3);
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 3; }, 2s)) << ShownGroup();
    ClickAt(CentreOf(MustQuery("列表框1")));  // the focus leaves the slots
    EXPECT_TRUE(WaitUntil([&] { return ShownGroup() == 0; }, 2s)) << ShownGroup();
}

TEST_F(PhotoSlots, CapturingKeepsTheSelectedSlot) {
    ASSERT_NO_FATAL_FAILURE(StartWithCamera());
    ClickSlot(2);
    ASSERT_TRUE(WaitUntil([&] { return ShownGroup() == 2; }, 2s));
    ASSERT_TRUE(CaptureInto(1));
    Pause(100ms);
    EXPECT_EQ(ShownGroup(), 2);
    EXPECT_EQ(MustQuery("画板2")["focused"], "1");
}

TEST_F(PhotoSlots, ABrightnessPressChangesItsOwnSlotOnly) {
    // A still picture, so the four captures are alike and only the press tells them apart.
    ASSERT_NO_FATAL_FAILURE(StartWithCamera(L"frozen"));
    for (int k = 1; k <= 4; ++k) ASSERT_TRUE(CaptureInto(k) || Bytes(k) == kCaptureBytes);
    std::array<std::string, 5> before;
    for (int k = 1; k <= 4; ++k) before[static_cast<std::size_t>(k)] = Hash(k);
    ClickSlot(3);
    ASSERT_TRUE(WaitUntil([&] { return ShownGroup() == 3; }, 2s));
    ClickAt(CentreOf(MustQuery("透明标签_增加亮度3")));
    EXPECT_TRUE(WaitUntil([&] { return Hash(3) != before[3]; }, 2s)) << "slot 3 did not change";
    EXPECT_EQ(Bytes(3), kCaptureBytes);
    for (const int k : {1, 2, 4}) EXPECT_EQ(Hash(k), before[static_cast<std::size_t>(k)]) << "slot " << k;
    EXPECT_EQ(ShownGroup(), 3) << "the press moved the selection";
}

}  // namespace
}  // namespace e2e
